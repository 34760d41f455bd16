#include "app/Form1.h"

#include "app/ChannelTable.h"
#include "app/Form2.h"
#include "app/RecordMenu.h"
#include "chart/Chart.h"
#include "chart/LineSeries.h"
#include "runtime/Application.h"
#include "runtime/Exception.h"
#include "runtime/InfoBox.h"
#include "serial/ComPort.h"
#include "serial/EComPort.h"
#include "widgets/AdvCircularProgress.h"
#include "widgets/AdvPanel.h"
#include "widgets/AdvProgress.h"
#include "widgets/FolderDialog.h"
#include "widgets/SpinEdit.h"
#include "runtime/Translation.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

namespace {

std::int32_t wrappingAdd(std::int32_t a, std::int32_t b)
{
    return std::int32_t(std::uint32_t(a) + std::uint32_t(b));
}

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent)
{
    createControls();
    connectHandlers();
    connectRecorder();
    FormCreate();
}

// The port closes with the window's children, after the members; the reception lets go
// of it first.
TForm1::~TForm1() = default;

void TForm1::connectRecorder()
{
    m_reception = std::make_unique<PortReception>(*ComPort1, m_decoder, m_recorder);
    m_recordMenu = new RecordMenu(m_recorder, AdvPanel1);
    connect(&m_recorder, &ReadingRecorder::failed, this,
            [](const QString &message) { TApplication::ShowException(EWriteError(message)); });
}

void TForm1::FormCreate()
{
    m_state.chartLength = SpinEdit4->Value();
    Chart1->BottomAxis().setMaximum(m_state.chartLength);
    for (TLineSeries *series : Series)
        series->LinePen().setWidth(2);
    m_state.multiplier = SpinEdit5->Value();
    Timer1->setInterval(SpinEdit1->Value());
    m_state.sweepIncrement = SpinEdit2->Value();
    setLevelMaximum(std::int32_t(std::uint32_t(m_state.multiplier) * fullScaleReading));
}

void TForm1::Timer1Timer()
{
    for (int ch = 0; ch < channelCount; ++ch) {
        if (BarBox[ch]->isChecked())
            AdvProgress[ch]->setPosition(m_state.adcValue[ch]);
    }
    for (int ch = 0; ch < channelCount; ++ch) {
        if (TraceBox[ch]->isChecked())
            Series[ch]->AppendPoint(m_state.sweepX, m_state.adcValue[ch], QString(),
                                    channelTable[ch].pointColor);
    }
    m_state.sweepX = wrappingAdd(m_state.sweepX, m_state.sweepIncrement);
    if (m_state.sweepX <= m_state.chartLength)
        return;
    if (m_state.savingSeries) {
        try {
            saveSeriesPicture();
        } catch (...) {
            // A picture that cannot be written ends the series here; the sweep restarts
            // so the display goes on, and the error box shows once.
            endSeriesMode();
            restartSweep();
            throw;
        }
    }
    restartSweep();
}

void TForm1::saveSeriesPicture()
{
    m_state.picturesLeft = wrappingAdd(m_state.picturesLeft, -1);
    if (m_state.picturesLeft < 1) {
        stops();
        return;
    }
    Chart1->SaveBitmapFile(
        PictureNamer::seriesName(FolderDialog1->Directory(), m_state.picturesLeft, QDate::currentDate()));
}

void TForm1::restartSweep()
{
    for (TLineSeries *series : Series)
        series->ClearPoints();
    m_state.sweepX = 0;
}

void TForm1::Button1Click()
{
    // A reading cut off by the last Stop must not be joined to the first one after Start.
    m_decoder.reset();
    ComPort1->OpenPort();
    setTimerEnabled(true);
    Button1->setEnabled(false);
    Button2->setEnabled(true);
    // Last, so that a file that cannot be opened leaves the display running.
    m_recorder.startArmed();
}

void TForm1::Button2Click()
{
    ComPort1->ClosePort();
    m_recorder.flush();
    setTimerEnabled(false);
    Button2->setEnabled(false);
    Button1->setEnabled(true);
}

void TForm1::stopForVanishedDevice(int systemCode)
{
    // Frozen values ticking on and a disabled Start would hide that nothing arrives.
    Button2Click();
    throw EComPort(EComPort::ReadFailed, systemCode);
}

void TForm1::FormClose()
{
    ComPort1->ClosePort();
    m_recorder.stop();
    setTimerEnabled(false);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Closing is never refused, even when closing the port fails.
    TApplication::guard([this] { FormClose(); });
    event->accept();
}

void TForm1::Button3Click()
{
    const bool wasRunning = Timer1->isActive();
    setTimerEnabled(false);
    // A running display must never stay frozen: the timer runs again on every way out,
    // before an error box shows. Taken while stopped, or with a Stop for a vanished
    // device meanwhile, the picture must not set the bars and traces moving on with
    // readings that never arrived.
    const auto restoreTimer =
        qScopeGuard([this, wasRunning] { setTimerEnabled(wasRunning && ComPort1->Connected()); });
    if (!FolderDialog1->Browse(this))
        return;
    const QString name = m_pictureNamer.singleName(FolderDialog1->Directory(), QDate::currentDate());
    Chart1->SaveBitmapFile(name);
    InfoBox::ShowMessage(Translation::appText("Сохранено в файл %1").arg(name));
}

void TForm1::Button4Click()
{
    const QString seriesFolder = FolderDialog1->Directory();
    if (!FolderDialog1->Browse(this))
        return;
    const int count = SpinEdit3->Value();
    if (!mayReplaceSeries(FolderDialog1->Directory(), count)) {
        // A running series goes on into its own folder.
        FolderDialog1->setDirectory(seriesFolder);
        return;
    }
    m_state.picturesLeft = count;
    m_state.savingSeries = true;
    Label2->setVisible(true);
    AdvCircularProgress1->setVisible(true);
    AdvCircularProgress1->setEnabled(true);
}

bool TForm1::mayReplaceSeries(const QString &folder, int count) const
{
    // Single pictures never replace anything; a series replaces only with consent.
    return !PictureNamer::seriesReplaces(folder, count, QDate::currentDate())
           || InfoBox::AskYesNo(
               Translation::appText("Файлы серии за этот день уже есть в папке %1. Заменить их?").arg(folder));
}

void TForm1::stops()
{
    Chart1->SaveBitmapFile(
        PictureNamer::seriesName(FolderDialog1->Directory(), m_state.picturesLeft, QDate::currentDate()));
    endSeriesMode();
    InfoBox::ShowMessage(Translation::appText("Серия картинок сохранена"));
}

void TForm1::endSeriesMode()
{
    m_state.savingSeries = false;
    Label2->setVisible(false);
    AdvCircularProgress1->setVisible(false);
    AdvCircularProgress1->setEnabled(false);
}

void TForm1::Button5Click()
{
    // The timer restarts on any setInterval; only a different period may restart the tick.
    const int period = SpinEdit1->Value();
    if (period != Timer1->interval())
        Timer1->setInterval(period);
}

void TForm1::Button6Click()
{
    m_state.sweepIncrement = SpinEdit2->Value();
}

void TForm1::Button8Click()
{
    m_state.multiplier = SpinEdit5->Value();
    const auto maximum = std::int32_t(std::uint32_t(m_state.multiplier) * fullScaleReading);
    Chart1->LeftAxis().setMaximum(maximum);
    setLevelMaximum(maximum);
}

void TForm1::Button7Click()
{
    m_state.chartLength = SpinEdit4->Value();
    Chart1->BottomAxis().setMaximum(m_state.chartLength);
}

void TForm1::Button9Click()
{
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();
}

void TForm1::Button10Click()
{
    ComPort1->ShowPortSetup();
}

void TForm1::setTimerEnabled(bool enabled)
{
    // Enabling a running timer must not restart its period.
    if (enabled && !Timer1->isActive())
        Timer1->start();
    else if (!enabled)
        Timer1->stop();
}

void TForm1::setLevelMaximum(int maximum)
{
    for (TAdvProgress *bar : AdvProgress)
        bar->setMax(maximum);
}
