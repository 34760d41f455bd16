#include "runtime/Color.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

TEST(ColorTest, plainColoursAreBgrAndSystemColoursComeFromThePalette)
{
    EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(toQColor(0x404080), QColor(0x80, 0x40, 0x40));
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    // A desktop palette unlike the classic colours shows which colour comes from where.
    const QPalette designed = QApplication::palette();
    QPalette desktop = designed;
    desktop.setColor(QPalette::Base, QColor(0x12, 0x34, 0x56));
    desktop.setColor(QPalette::Button, QColor(0x65, 0x43, 0x21));
    QApplication::setPalette(desktop);
    EXPECT_EQ(toQColor(clWindow), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(toQColor(clBtnFace), QColor(0x65, 0x43, 0x21));
    EXPECT_EQ(ColorToRGB(clWindowFrame), 0x646464u);
    QApplication::setPalette(designed);
    // No palette role stands for the inactive border: the classic value is used.
    EXPECT_EQ(ColorToRGB(clInactiveBorder), 0xFCF7F4u);
}

} // namespace
