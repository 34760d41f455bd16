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
    EXPECT_EQ(toQColor(clWindow), QApplication::palette().color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(toQColor(clBtnFace), QApplication::palette().color(QPalette::Active, QPalette::Button));
    // No palette role stands for the inactive border: the classic value is used.
    EXPECT_EQ(ColorToRGB(clInactiveBorder), 0xFCF7F4u);
}

} // namespace
