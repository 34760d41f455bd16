#pragma once

#include "app/AcquisitionState.h"
#include "app/PictureNamer.h"
#include "app/ReadingDecoder.h"
#include "app/PortReception.h"
#include "app/ReadingRecorder.h"
#include "runtime/FrameGate.h"
#include "runtime/PeriodicTimer.h"

#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

class RecordMenu;
class RecordingMark;
class TAdvCircularProgress;
class TAdvPanel;
class TAdvProgress;
class TChart;
class TComPort;
class TCustomComPort;
class TFolderDialog;
class TForm2;
class TLineSeries;
class TSpinEdit;

// The main window: the controls the operator works with, the acquisition state, and the
// handlers that tie them together. Every handler run from the event loop goes through
// TApplication::guard, so a failure shows the error box and the window goes on.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    void setAboutWindow(TForm2 *form) { m_form2 = form; }

    AcquisitionState &state() { return m_state; }
    ReadingDecoder &decoder() { return m_decoder; }
    // Keeps every decoded reading in a file; the level-bar panel's context menu drives it.
    ReadingRecorder &recorder() { return m_recorder; }
    RecordMenu &recordMenu() { return *m_recordMenu; }
    // Shows on the level-bar panel while a recording runs.
    RecordingMark &recordingMark() { return *m_recordingMark; }
    // Gathers the ticks' repaints into one a frame of the screen.
    const FrameGate &frameGate() const { return m_frameGate; }

    // Components, named as the window's design names them.
    std::array<TAdvProgress *, channelCount> AdvProgress{};
    TAdvPanel *AdvPanel1 = nullptr;
    TChart *Chart1 = nullptr;
    PeriodicTimer *Timer1 = nullptr;
    std::array<TLineSeries *, channelCount> Series{};
    TComPort *ComPort1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    std::array<QCheckBox *, channelCount> TraceBox{}; // CheckBox1 .. CheckBox6
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    TSpinEdit *SpinEdit1 = nullptr;
    QPushButton *Button5 = nullptr;
    TSpinEdit *SpinEdit2 = nullptr;
    QPushButton *Button6 = nullptr;
    std::array<QCheckBox *, channelCount> BarBox{}; // CheckBox12 .. CheckBox7, ADC0 first
    TSpinEdit *SpinEdit3 = nullptr;
    QLabel *Label1 = nullptr;
    QFrame *Panel1 = nullptr;
    TFolderDialog *FolderDialog1 = nullptr;
    TAdvCircularProgress *AdvCircularProgress1 = nullptr;
    QLabel *Label2 = nullptr;
    TSpinEdit *SpinEdit5 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Button8 = nullptr;
    TSpinEdit *SpinEdit4 = nullptr;
    QPushButton *Button7 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *Button9 = nullptr;
    QPushButton *Button10 = nullptr;

    // Handlers, as the window's design binds them.
    void Timer1Timer();
    void FormCreate();
    void Button1Click();
    void Button2Click();
    void FormClose();
    void Button3Click();
    void Button5Click();
    void stops();
    void Button6Click();
    void Button4Click();
    void Button8Click();
    void Button7Click();
    void Button9Click();
    void Button10Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The designed controls; in Form1Design.cpp.
    void createControls();
    void createLevelPanel();
    void createPicturePanel();
    void createSettingsRows();
    void createTraceBoxes();
    void createChart();
    void configureComPort();
    void arrangeTabOrder();
    void connectHandlers();

    void stopForVanishedDevice(int systemCode);
    void setTimerEnabled(bool enabled);
    void setLevelMaximum(int maximum);
    void saveSeriesPicture();
    bool mayReplaceSeries(const QString &folder, int count) const;
    void endSeriesMode();
    void restartSweep();
    void connectRecorder();

    AcquisitionState m_state;
    ReadingRecorder m_recorder; // outlives the decoder that feeds it
    ReadingDecoder m_decoder{m_state};
    // Made with the port; let go first, so that no delivery reaches what goes before it.
    std::unique_ptr<PortReception> m_reception;
    RecordMenu *m_recordMenu = nullptr;
    RecordingMark *m_recordingMark = nullptr;
    PictureNamer m_pictureNamer;
    TForm2 *m_form2 = nullptr;
    FrameGate m_frameGate{*this};
};
