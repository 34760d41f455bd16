// The main window's designed controls: positions, captions, fonts and initial states.

#include "app/BoardLine.h"
#include "app/ChannelTable.h"
#include "app/Form1.h"
#include "app/FormLook.h"
#include "app/RecordingMark.h"
#include "app/SweepChartDesign.h"
#include "chart/Chart.h"
#include "runtime/Application.h"
#include "runtime/Translation.h"
#include "serial/ComPort.h"
#include "widgets/AdvCircularProgress.h"
#include "widgets/AdvPanel.h"
#include "widgets/AdvProgress.h"
#include "widgets/FolderDialog.h"
#include "widgets/ProgressAppearance.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QPushButton *makeButton(const QString &caption, QWidget *parent, QRect geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

QLabel *makeLabel(const QString &caption, QWidget *parent, QPoint topLeft)
{
    auto *label = new QLabel(caption, parent);
    label->move(topLeft);
    label->adjustSize(); // labels size themselves to their text
    return label;
}

TSpinEdit *makeSpinEdit(QWidget *parent, QRect geometry, int minValue, int maxValue, int value)
{
    auto *edit = new TSpinEdit(parent);
    edit->setGeometry(geometry);
    edit->setMinValue(minValue);
    edit->setMaxValue(maxValue);
    edit->setValue(value);
    return edit;
}

QCheckBox *makeCheckBox(const char *caption, QWidget *parent, QRect geometry, bool checked)
{
    auto *box = new QCheckBox(Translation::appText(caption), parent);
    box->setGeometry(geometry);
    box->setChecked(checked);
    return box;
}

// Connects a button to a handler through the guard that turns escaping errors into
// the error box.
template <typename Handler>
void onClick(QPushButton *button, TForm1 *form, Handler handler)
{
    QObject::connect(button, &QPushButton::clicked, form,
                     [form, handler] { TApplication::guard([form, handler] { (form->*handler)(); }); });
}

} // namespace

void TForm1::createControls()
{
    setWindowTitle(Translation::appText("Ondrix"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(826, 561);
    applyFormLook(*this);

    createLevelPanel();
    createPicturePanel();
    createSettingsRows();
    createTraceBoxes();
    createChart();

    Timer1 = new PeriodicTimer(this);
    Timer1->setInterval(100);

    ComPort1 = new TComPort(this);
    configureComPort();

    FolderDialog1 = new TFolderDialog(this);
    FolderDialog1->setTitle(Translation::appText("Выберите папку для сохранения граффиков"));
    FolderDialog1->setOptions(fdoReturnOnlyFSDirs | fdoNewDialogStyle);

    arrangeTabOrder();
    move(screen()->availableGeometry().center() - rect().center());
}

void TForm1::createLevelPanel()
{
    AdvPanel1 = new TAdvPanel(this);
    AdvPanel1->setGeometry(0, 0, 369, 305);
    AdvPanel1->setColor(clInactiveBorder);
    AdvPanel1->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    for (int ch = 0; ch < channelCount; ++ch) {
        const ChannelInfo &info = channelTable[ch];
        TAdvProgress *bar = new TAdvProgress(AdvPanel1);
        bar->setGeometry(info.barLeft, 16, 17, 225);
        bar->setOrientation(pbVertical);
        bar->setSmooth(true);
        bar->setMin(0);
        bar->setMax(fullScaleReading);
        bar->setPosition(0);
        bar->setBkColor(clWindow);
        bar->setBarColor(info.barColor);
        AdvProgress[ch] = bar;
        BarBox[ch] = makeCheckBox(info.barCaption, AdvPanel1, QRect(info.barBoxLeft, 264, info.barBoxWidth, 17),
                                  info.initiallyShown);
    }
    // The strip below the bar check boxes, clear of every bar and box.
    m_recordingMark = new RecordingMark(m_recorder, QRect(8, 283, 353, 19), AdvPanel1);
}

void TForm1::createPicturePanel()
{
    Panel1 = new QFrame(this);
    Panel1->setGeometry(376, 8, 450, 113);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Button4 = makeButton(Translation::appText("Сохранить серию картинок"), Panel1, QRect(8, 8, 217, 25));
    Label1 = makeLabel(Translation::appText("Количество, шт."), Panel1, QPoint(8, 52));
    SpinEdit3 = makeSpinEdit(Panel1, QRect(104, 43, 121, 22), 1, 50000, 1);
    Button3 = makeButton(Translation::appText("Сохранить граффик"), Panel1, QRect(256, 8, 161, 25));

    Label2 = makeLabel(Translation::appText("Идёт сохранение"), Panel1, QPoint(256, 56));
    Label2->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 16, true));
    Label2->adjustSize();
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, toQColor(clRed));
    Label2->setPalette(red);
    Label2->hide();

    AdvCircularProgress1 = new TAdvCircularProgress(Panel1);
    AdvCircularProgress1->setGeometry(288, 32, 81, 73);
    AdvCircularProgress1->setInterval(100);
    TProgressAppearance &look = *AdvCircularProgress1->Appearance();
    look.setBackGroundColor(clNone);
    look.setBorderColor(clNone);
    look.setActiveSegmentColor(0xFF9F9F);
    look.setInActiveSegmentColor(clSilver);
    look.setTransitionSegmentColor(0xA00000);
    look.setProgressSegmentColor(0x400080);
    AdvCircularProgress1->setEnabled(false);
    AdvCircularProgress1->hide();
    // The label reaches into the ring and must stay readable while the ring turns.
    Label2->raise();
}

void TForm1::createSettingsRows()
{
    Button1 = makeButton(Translation::appText("Пуск"), this, QRect(376, 136, 75, 25));
    Button2 = makeButton(Translation::appText("Стоп"), this, QRect(376, 168, 75, 25));
    Button2->setEnabled(false);
    Button10 = makeButton(Translation::appText("Настройка"), this, QRect(376, 200, 75, 25));
    Button9 = makeButton(Translation::appText("О программе"), this, QRect(376, 232, 89, 25));

    Label7 = makeLabel(Translation::appText("Период обновления, ms"), this, QPoint(480, 144));
    SpinEdit1 = makeSpinEdit(this, QRect(616, 136, 121, 22), 1, 32000, 100);
    SpinEdit1->setMaxLength(5);
    Button5 = makeButton(Translation::appText("Задать"), this, QRect(744, 136, 75, 25));

    Label8 = makeLabel(Translation::appText("Инкремент, ед."), this, QPoint(480, 176));
    SpinEdit2 = makeSpinEdit(this, QRect(616, 168, 121, 22), 1, 500, 10);
    Button6 = makeButton(Translation::appText("Задать"), this, QRect(744, 168, 75, 25));

    Label3 = makeLabel(Translation::appText("Множитель"), this, QPoint(480, 208));
    SpinEdit5 = makeSpinEdit(this, QRect(616, 200, 121, 22), 1, 100000, 1);
    Button8 = makeButton(Translation::appText("Задать"), this, QRect(744, 200, 75, 25));

    Label4 = makeLabel(Translation::appText("Длинна графика, ед"), this, QPoint(480, 240));
    SpinEdit4 = makeSpinEdit(this, QRect(616, 232, 121, 22), 10, 100000, 2000);
    Button7 = makeButton(Translation::appText("Задать"), this, QRect(744, 232, 75, 25));
}

void TForm1::createTraceBoxes()
{
    for (int ch = 0; ch < channelCount; ++ch) {
        const ChannelInfo &info = channelTable[ch];
        // ADC 4's box sits one pixel lower and one shorter, as designed.
        const QRect geometry = ch == 4 ? QRect(info.traceBoxLeft, 289, 65, 16) : QRect(info.traceBoxLeft, 288, 65, 17);
        TraceBox[ch] = makeCheckBox(info.traceCaption, this, geometry, info.initiallyShown);
    }
}

void TForm1::createChart()
{
    Chart1 = new TChart(this);
    Chart1->setGeometry(0, 312, 825, 249);
    applyChart1Design(*Chart1, Series);
}

void TForm1::configureComPort()
{
    ComPort1->setPort(QStringLiteral("COM1"));
    BoardLine::applyDefaults(*ComPort1);
}

void TForm1::arrangeTabOrder()
{
    QList<QWidget *> chain(BarBox.begin(), BarBox.end());
    chain << Chart1 << Button1 << Button2;
    chain.append(QList<QWidget *>(TraceBox.begin(), TraceBox.end()));
    chain << SpinEdit1 << Button5 << SpinEdit2 << Button6 << Button4 << SpinEdit3 << Button3 << SpinEdit5
          << Button8 << SpinEdit4 << Button7 << Button9 << Button10;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TForm1::connectHandlers()
{
    connect(Timer1, &PeriodicTimer::timeout, this, [this] { TApplication::guard([this] { Timer1Timer(); }); });
    onClick(Button1, this, &TForm1::Button1Click);
    onClick(Button2, this, &TForm1::Button2Click);
    onClick(Button3, this, &TForm1::Button3Click);
    onClick(Button4, this, &TForm1::Button4Click);
    onClick(Button5, this, &TForm1::Button5Click);
    onClick(Button6, this, &TForm1::Button6Click);
    onClick(Button7, this, &TForm1::Button7Click);
    onClick(Button8, this, &TForm1::Button8Click);
    onClick(Button9, this, &TForm1::Button9Click);
    onClick(Button10, this, &TForm1::Button10Click);
    connect(ComPort1, &TCustomComPort::deviceVanished, this,
            [this](int systemCode) { TApplication::guard([&] { stopForVanishedDevice(systemCode); }); });
}
