#pragma once

#include "runtime/Color.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

// What the program's windows share: fonts given in pixels as the forms give them, and
// the form's colours and default font.

inline QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// clBtnFace behind, clWindowText for text, "MS Sans Serif" 11 pixels unless a control
// sets its own.
inline void applyFormLook(QWidget &form)
{
    form.setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    QPalette colours = form.palette();
    colours.setColor(QPalette::Window, toQColor(clBtnFace));
    colours.setColor(QPalette::WindowText, toQColor(clWindowText));
    form.setPalette(colours);
    form.setAutoFillBackground(true);
}
