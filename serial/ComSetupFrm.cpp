#include "ComSetupFrm.h"

#include "runtime/Translation.h"
#include "serial/ComComboBox.h"
#include "serial/ComPort.h"

#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <memory>

namespace {

constexpr int listLeft = 80;
constexpr int listWidth = 129;
constexpr int listHeight = 21;
constexpr int listItemHeight = 13;

} // namespace

TComSetupFrm::TComSetupFrm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ComSetupFrm"));
    setWindowTitle(Translation::serialText("Setup"));
    // The captions go through the serial engine's catalogue; the lists' items are setting
    // values and stay as they are.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(231, 216);   // a dialog border: the size is fixed

    GroupBox1 = new QGroupBox(Translation::serialText(" Settings "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 217, 169);
    Label1 = addLabel("Label1", Translation::serialText("Port"), 24);
    Label2 = addLabel("Label2", Translation::serialText("Baud rate"), 48);
    Label3 = addLabel("Label3", Translation::serialText("Data bits"), 72);
    Label4 = addLabel("Label4", Translation::serialText("Stop bits"), 96);
    Label5 = addLabel("Label5", Translation::serialText("Parity"), 120);
    Label6 = addLabel("Label6", Translation::serialText("Flow control"), 144);
    Combo1 = addCombo("Combo1", cpPort, 16);
    Combo2 = addCombo("Combo2", cpBaudRate, 40);
    Combo3 = addCombo("Combo3", cpDataBits, 64);
    Combo4 = addCombo("Combo4", cpStopBits, 88);
    Combo5 = addCombo("Combo5", cpParity, 112);
    Combo6 = addCombo("Combo6", cpFlowControl, 136);
    Button1 = addButton("Button1", Translation::serialText("OK"), 70);
    Button2 = addButton("Button2", Translation::serialText("Cancel"), 150);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder();
    centreOnScreen();
}

QLabel *TComSetupFrm::addLabel(const char *objectName, const QString &text, int top)
{
    auto *label = new QLabel(text, GroupBox1);
    label->setObjectName(QLatin1String(objectName));
    label->move(8, top);
    label->adjustSize();
    return label;
}

TComComboBox *TComSetupFrm::addCombo(const char *objectName, TComProperty kind, int top)
{
    auto *combo = new TComComboBox(GroupBox1);
    combo->setObjectName(QLatin1String(objectName));
    combo->setGeometry(listLeft, top, listWidth, listHeight);
    combo->setItemHeight(listItemHeight);
    combo->setComProperty(kind);
    return combo;
}

QPushButton *TComSetupFrm::addButton(const char *objectName, const QString &text, int left)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(objectName));
    button->setGeometry(left, 184, 75, 25);
    return button;
}

void TComSetupFrm::setTabOrder()
{
    const auto lists = combos();
    for (std::size_t index = 1; index < lists.size(); ++index)
        QWidget::setTabOrder(lists[index - 1], lists[index]);
    QWidget::setTabOrder(lists.back(), Button1);
    QWidget::setTabOrder(Button1, Button2);
}

void TComSetupFrm::centreOnScreen()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

std::array<TComComboBox *, 6> TComSetupFrm::combos() const
{
    return {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6};
}

void TComSetupFrm::LoadFromPort(TCustomComPort &port)
{
    // Linking loads each list; all six are loaded once more when every link is in place.
    for (TComComboBox *combo : combos())
        combo->setComPort(&port);
    for (TComComboBox *combo : combos())
        combo->LoadFromPort();
}

void TComSetupFrm::ApplyToPort(TCustomComPort &port)
{
    port.BeginSettingsUpdate();
    try {
        for (TComComboBox *combo : combos())
            combo->ApplyToPort();
    } catch (...) {
        port.EndSettingsUpdate();
        throw;
    }
    port.EndSettingsUpdate();
}

void TComPort::ShowPortSetup()
{
    const auto dialog = std::make_unique<TComSetupFrm>();
    dialog->LoadFromPort(*this);
    if (dialog->exec() == QDialog::Accepted)
        dialog->ApplyToPort(*this);
}
