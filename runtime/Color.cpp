#include "runtime/Color.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <optional>

namespace {

// The classic Windows values, used where the Qt palette has no matching role.
constexpr std::array<TColor, 25> classicSystemColors = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF,
};

std::optional<QPalette::ColorRole> paletteRole(unsigned index)
{
    switch (index) {
    case 5: return QPalette::Base;             // clWindow
    case 8: return QPalette::WindowText;       // clWindowText
    case 13: return QPalette::Highlight;       // clHighlight
    case 14: return QPalette::HighlightedText; // clHighlightText
    case 15: return QPalette::Button;          // clBtnFace
    case 16: return QPalette::Dark;            // clBtnShadow
    case 18: return QPalette::ButtonText;      // clBtnText
    case 20: return QPalette::Light;           // clBtnHighlight
    case 21: return QPalette::Shadow;          // cl3DDkShadow
    case 22: return QPalette::Midlight;        // cl3DLight
    case 23: return QPalette::ToolTipText;     // clInfoText
    case 24: return QPalette::ToolTipBase;     // clInfoBk
    default: return std::nullopt;
    }
}

TColor systemColor(unsigned index)
{
    if (index >= classicSystemColors.size())
        return clBlack;
    const auto role = paletteRole(index);
    if (role && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fromQColor(QGuiApplication::palette().color(QPalette::Active, *role));
    return classicSystemColors[index];
}

} // namespace

TColor ColorToRGB(TColor color)
{
    if ((color & 0xFF000000) == clSystemColor)
        return systemColor(color & 0xFF);
    if (color == clDefault || color == clNone)
        return clBlack;
    return color & 0x00FFFFFF;
}

QColor toQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

TColor fromQColor(const QColor &color)
{
    return TColor(color.red()) | (TColor(color.green()) << 8) | (TColor(color.blue()) << 16);
}
