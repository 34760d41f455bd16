#include "ComboPick.h"
#include "PortListFixture.h"

#include "serial/ComComboBox.h"
#include "serial/ComPort.h"
#include "serial/ComSetupFrm.h"
#include "serial/EComPort.h"
#include "tests/support/ModalWatcher.h"
#include "tests/support/PtyPair.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

namespace {

// A port that notes every apply step, to see what a dialog wrote and when.
class RecordingPort : public TComPort
{
public:
    void ApplyLineSettings() override
    {
        calls.append("line");
        TComPort::ApplyLineSettings();
    }
    void ApplyTimeoutSettings() override
    {
        calls.append("timeouts");
        TComPort::ApplyTimeoutSettings();
    }
    void ApplyBufferSizes() override
    {
        calls.append("buffer");
        TComPort::ApplyBufferSizes();
    }
    void ApplyAllSettings() override
    {
        calls.append("all");
        TComPort::ApplyAllSettings();
    }

    QStringList calls;
};

// Every setting the dialog can change, as one comparable record.
struct Picks
{
    QString port;
    TBaudRate baudRate;
    TDataBits dataBits;
    TStopBits stopBits;
    TParityBits parity;
    TRTSFlowControl controlRTS;
    bool outCTSFlow;
    bool xonXoffIn;
    bool xonXoffOut;
    bool operator==(const Picks &) const = default;
};

Picks picksOf(const TComPort &port)
{
    const TComFlowControl &flow = port.FlowControl();
    return {port.Port(), port.BaudRate(), port.DataBits(), port.StopBits(), port.Parity().Bits(),
            flow.ControlRTS(), flow.OutCTSFlow(), flow.XonXoffIn(), flow.XonXoffOut()};
}

void configureLikeComPort1(TComPort &port)
{
    port.FlowControl().setControlRTS(rtsHandshake);
    port.FlowControl().setOutCTSFlow(true);
}

// Answers the setup dialog once its own loop runs, as the operator would, and counts the
// answers: a test whose dialog never came up fails on the count. The watch ends with
// this object, so nothing of it reaches a later test.
class SetupAnswer
{
public:
    explicit SetupAnswer(std::function<void(TComSetupFrm &)> answer)
        : m_watcher([this, answer = std::move(answer)](QDialog *dialog) {
              ++m_answered;
              if (auto *setup = qobject_cast<TComSetupFrm *>(dialog)) {
                  answer(*setup);
              } else {
                  ADD_FAILURE() << "another dialog came up: " << dialog->metaObject()->className();
                  dialog->reject();
              }
          })
    {
    }

    int answered() const { return m_answered; }

private:
    int m_answered = 0;
    ModalWatcher m_watcher;
};

void pickEverything(TComSetupFrm &dialog)
{
    pick(dialog.Combo1, "ttyUSB1");
    pick(dialog.Combo2, "57600");
    pick(dialog.Combo3, "7");
    pick(dialog.Combo4, "2");
    pick(dialog.Combo5, "Even");
    pick(dialog.Combo6, "Software");
}

bool anySetupDialogLeft()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (qobject_cast<TComSetupFrm *>(widget))
            return true;
    }
    return false;
}

class ShowPortSetup : public ::testing::Test
{
protected:
    ShowPortSetup()
    {
        sysfs.addPort("ttyUSB0");
        sysfs.addPort("ttyUSB1");
        configureLikeComPort1(port);
    }

    FakeSysfs sysfs;
    RecordingPort port;
};

TEST(TComSetupFrm, LaysOutItsControlsAsDesigned)
{
    FakeSysfs sysfs;
    TComSetupFrm dialog;
    EXPECT_EQ(dialog.windowTitle(), "Setup");
    EXPECT_EQ(dialog.size(), QSize(231, 216));
    EXPECT_EQ(dialog.font().family(), "MS Sans Serif");
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    EXPECT_EQ(dialog.GroupBox1->geometry(), QRect(8, 8, 217, 169));
    EXPECT_EQ(dialog.GroupBox1->title(), " Settings ");

    struct Row
    {
        QLabel *label;
        const char *caption;
        TComComboBox *combo;
        TComProperty kind;
    };
    const Row rows[] = {
        {dialog.Label1, "Port", dialog.Combo1, cpPort},
        {dialog.Label2, "Baud rate", dialog.Combo2, cpBaudRate},
        {dialog.Label3, "Data bits", dialog.Combo3, cpDataBits},
        {dialog.Label4, "Stop bits", dialog.Combo4, cpStopBits},
        {dialog.Label5, "Parity", dialog.Combo5, cpParity},
        {dialog.Label6, "Flow control", dialog.Combo6, cpFlowControl},
    };
    for (int row = 0; row < 6; ++row) {
        const Row &r = rows[row];
        EXPECT_EQ(r.label->text(), QString::fromLatin1(r.caption));
        EXPECT_EQ(r.label->parentWidget(), dialog.GroupBox1) << r.caption;
        EXPECT_EQ(r.label->pos(), QPoint(8, 24 + 24 * row)) << r.caption;
        EXPECT_EQ(r.combo->parentWidget(), dialog.GroupBox1) << r.caption;
        EXPECT_EQ(r.combo->geometry(), QRect(80, 16 + 24 * row, 129, 21)) << r.caption;
        EXPECT_EQ(r.combo->ComProperty(), r.kind) << r.caption;
        EXPECT_FALSE(r.combo->isEditable()) << r.caption;
    }
    EXPECT_EQ(dialog.Button1->geometry(), QRect(70, 184, 75, 25));
    EXPECT_EQ(dialog.Button1->text(), "OK");
    EXPECT_TRUE(dialog.Button1->isDefault());
    EXPECT_EQ(dialog.Button2->geometry(), QRect(150, 184, 75, 25));
    EXPECT_EQ(dialog.Button2->text(), "Cancel");
}

TEST_F(ShowPortSetup, ShowsThePortsCurrentValues)
{
    port.setPort("ttyUSB1");
    SetupAnswer answer([](TComSetupFrm &dialog) {
        EXPECT_EQ(dialog.Combo1->Text(), "ttyUSB1");
        EXPECT_EQ(dialog.Combo2->Text(), "9600");
        EXPECT_EQ(dialog.Combo3->Text(), "8");
        EXPECT_EQ(dialog.Combo4->Text(), "1");
        EXPECT_EQ(dialog.Combo5->Text(), "None");
        EXPECT_EQ(dialog.Combo6->Text(), "Hardware");
        dialog.Button2->click();
    });
    port.ShowPortSetup();
    EXPECT_EQ(answer.answered(), 1);
}

TEST_F(ShowPortSetup, EveryWayButOkWritesNothing)
{
    struct Row
    {
        const char *what;
        std::function<void(TComSetupFrm &)> close;
    };
    const Row rows[] = {
        {"Cancel", [](TComSetupFrm &dialog) { QTest::mouseClick(dialog.Button2, Qt::LeftButton); }},
        {"Escape", [](TComSetupFrm &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
        {"close box", [](TComSetupFrm &dialog) { dialog.close(); }},
    };
    for (const Row &row : rows) {
        const Picks before = picksOf(port);
        port.calls.clear();
        SetupAnswer answer([&row](TComSetupFrm &dialog) {
            pickEverything(dialog);
            row.close(dialog);
        });
        port.ShowPortSetup();
        EXPECT_EQ(answer.answered(), 1) << row.what;
        EXPECT_EQ(picksOf(port), before) << row.what;
        EXPECT_TRUE(port.calls.isEmpty()) << row.what << ": " << port.calls.join(' ').toStdString();
        EXPECT_FALSE(anySetupDialogLeft()) << row.what;
    }
}

TEST_F(ShowPortSetup, OkWritesThePicksInsideOneSettingsUpdate)
{
    for (const bool byEnter : {false, true}) {
        port.setPort("ttyUSB0");
        configureLikeComPort1(port);
        port.calls.clear();
        SetupAnswer answer([byEnter](TComSetupFrm &dialog) {
            pickEverything(dialog);
            if (byEnter)
                QTest::keyClick(&dialog, Qt::Key_Return);
            else
                QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        });
        port.ShowPortSetup();
        EXPECT_EQ(answer.answered(), 1);
        const Picks expected = {"ttyUSB1", br57600, dbSeven, sbTwoStopBits, prEven, rtsDisable, false, true, true};
        EXPECT_EQ(picksOf(port), expected) << "Enter: " << byEnter;
        // Setters note their apply while the update holds it back; the update's end
        // then applies everything once, last.
        ASSERT_GE(port.calls.size(), 4) << port.calls.join(' ').toStdString();
        EXPECT_EQ(port.calls.count("all"), 1) << port.calls.join(' ').toStdString();
        EXPECT_EQ(port.calls.mid(port.calls.size() - 4), QStringList({"all", "buffer", "line", "timeouts"}));
        EXPECT_FALSE(anySetupDialogLeft());
    }
}

TEST_F(ShowPortSetup, OkWithoutPicksKeepsEverySettingAndAnUnlistedPortName)
{
    port.setPort("/dev/pts/42");
    port.FlowControl().setControlRTS(rtsEnable);   // matches no preset: "Custom"
    const Picks before = picksOf(port);
    port.calls.clear();
    SetupAnswer answer([](TComSetupFrm &dialog) {
        EXPECT_EQ(dialog.Combo1->currentIndex(), -1);
        EXPECT_EQ(dialog.Combo6->Text(), "Custom");
        dialog.Button1->click();
    });
    port.ShowPortSetup();
    EXPECT_EQ(answer.answered(), 1);
    EXPECT_EQ(picksOf(port), before);
    EXPECT_EQ(port.calls.count("all"), 1);
}

TEST_F(ShowPortSetup, UnreadablePortListRaisesCode23BeforeShowingAnything)
{
    qputenv("ONDRIX_SYSFS_ROOT", QFile::encodeName(sysfs.root() + "/missing"));
    const Picks before = picksOf(port);
    port.calls.clear();
    try {
        port.ShowPortSetup();
        FAIL() << "no error raised";
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), 23);
    }
    EXPECT_EQ(picksOf(port), before);
    EXPECT_TRUE(port.calls.isEmpty());
    EXPECT_FALSE(anySetupDialogLeft());
}

// The picked port cannot be opened while the port is open: the reopening closes it,
// the error leaves ShowPortSetup after the update has ended, and the lists after the
// port list are not applied.
TEST_F(ShowPortSetup, FailingApplyEndsTheUpdateAndStopsAtTheFailingList)
{
    sysfs.addPort("ttyOndrixNowhere0");
    PtyPair pty;
    port.setPort(pty.slavePath());
    port.OpenPort();
    ASSERT_TRUE(port.Connected());
    port.calls.clear();
    SetupAnswer answer([](TComSetupFrm &dialog) {
        pick(dialog.Combo1, "ttyOndrixNowhere0");
        pick(dialog.Combo2, "57600");
        dialog.Button1->click();
    });
    try {
        port.ShowPortSetup();
        FAIL() << "no error raised";
    } catch (const EComPort &error) {
        EXPECT_EQ(error.code(), 1);
        EXPECT_EQ(error.systemCode(), 2u);
    }
    EXPECT_EQ(answer.answered(), 1);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.Port(), "ttyOndrixNowhere0");
    EXPECT_EQ(port.BaudRate(), br9600);
    ASSERT_GE(port.calls.size(), 4);
    EXPECT_EQ(port.calls.mid(port.calls.size() - 4), QStringList({"all", "buffer", "line", "timeouts"}));
    EXPECT_FALSE(anySetupDialogLeft());
}

} // namespace
