#include "runtime/Application.h"
#include "runtime/Exception.h"
#include "tests/support/ModalWatcher.h"

#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(ApplicationTitleTest, comesFromTheProgramFileName)
{
    EXPECT_EQ(TApplication::titleFromFileName(QStringLiteral("C:\\Tools\\MONITOR.EXE")), QStringLiteral("Monitor"));
    EXPECT_EQ(TApplication::titleFromFileName(QStringLiteral("/usr/local/bin/ondrix")), QStringLiteral("ondrix"));
    EXPECT_EQ(TApplication::titleFromFileName(QStringLiteral("/opt/Ondrix.bin.old")), QStringLiteral("Ondrix"));
    EXPECT_EQ(TApplication::titleFromFileName(QStringLiteral("/x.y/aBC")), QStringLiteral("abc"));
    EXPECT_EQ(TApplication::title(), QStringLiteral("runtime_test"));
}

TEST(ErrorBoxTextTest, addsAFullStopOnlyAfterCharactersThatSortAboveIt)
{
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("Port not open")), QStringLiteral("Port not open."));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("code 7")), QStringLiteral("code 7."));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("Ошибка")), QStringLiteral("Ошибка."));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("Stop!")), QStringLiteral("Stop!"));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("(see above)")), QStringLiteral("(see above)"));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("ends in space ")), QStringLiteral("ends in space "));
    EXPECT_EQ(TApplication::errorBoxText(QStringLiteral("a/b")), QStringLiteral("a/b."));
    EXPECT_EQ(TApplication::errorBoxText(QString()), QString());
}

TEST(GuardTest, showsAnEscapingErrorInAStopBoxAndReturns)
{
    bool returned = false;
    bool shownBeforeReturning = false;
    ModalWatcher watcher([&](QDialog *box) {
        shownBeforeReturning = !returned;
        box->reject();
    });
    EXPECT_NO_THROW(TApplication::guard([] { throw Exception(QStringLiteral("Port not open")); }));
    returned = true;
    EXPECT_TRUE(shownBeforeReturning) << "the guard returns once the box is closed";
    ASSERT_EQ(watcher.boxes().size(), 1);
    const ModalWatcher::Box &box = watcher.boxes().front();
    EXPECT_EQ(box.text, QStringLiteral("Port not open."));
    EXPECT_EQ(box.title, TApplication::title());
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
}

TEST(GuardTest, silentErrorsShowNothingAndForeignErrorsShowTheirText)
{
    ModalWatcher watcher;
    TApplication::guard([] { throw EAbort(QStringLiteral("quiet")); });
    EXPECT_TRUE(watcher.boxes().isEmpty());
    TApplication::guard([] { throw std::runtime_error("disk full"); });
    ASSERT_EQ(watcher.boxes().size(), 1);
    EXPECT_EQ(watcher.boxes().front().text, QStringLiteral("disk full."));
}

TEST(GuardTest, releasesAMouseGrabBeforeTheBoxShows)
{
    ModalWatcher watcher;
    QWidget grabber;
    grabber.show();
    grabber.grabMouse();
    ASSERT_EQ(QWidget::mouseGrabber(), &grabber);
    TApplication::guard([] { throw Exception(QStringLiteral("x")); });
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(watcher.boxes().size(), 1);
}

} // namespace
