#include "app/Form2.h"

#include <QLabel>

namespace {

QLabel *makeLabel(const QString &text, QWidget *parent, QRect geometry, int pixels)
{
    auto *label = new QLabel(text, parent);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TForm2::TForm2(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("О програме"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(683, 192);
    makeLabel(QStringLiteral("Ondrix v. 1.0"), this, QRect(8, 8, 345, 39), 37);
    makeLabel(QStringLiteral("Ondrix developers"), this, QRect(8, 64, 372, 37), 32);
}
