#include "widgets/AdvPanel.h"

#include "Render.h"

#include <QApplication>
#include <QCheckBox>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

// Swaps in a palette with distinct edge and fill colours for one test.
struct DistinctPalette
{
    DistinctPalette()
    {
        QPalette palette = saved;
        palette.setColor(QPalette::Light, QColor(250, 250, 250));
        palette.setColor(QPalette::Dark, QColor(90, 90, 90));
        QApplication::setPalette(palette);
    }
    ~DistinctPalette() { QApplication::setPalette(saved); }

    const QPalette saved = QApplication::palette();
    const QColor light{250, 250, 250};
    const QColor dark{90, 90, 90};
};

} // namespace

TEST(AdvPanel, FillsInsideAOnePixelRaisedEdge)
{
    DistinctPalette colours;
    TAdvPanel panel;
    panel.setColor(0x336699);
    panel.resize(369, 305);
    const QImage image = renderWidget(panel);
    const QColor fill(0x99, 0x66, 0x33);

    struct Pixel { const char *what; int x, y; QColor colour; };
    const Pixel pixels[] = {
        {"top-left corner", 0, 0, colours.light},
        {"top row", 100, 0, colours.light},
        {"left column", 0, 100, colours.light},
        {"top-right corner belongs to the dark side", 368, 0, colours.dark},
        {"right column", 368, 100, colours.dark},
        {"bottom row", 100, 304, colours.dark},
        {"bottom-left corner belongs to the dark side", 0, 304, colours.dark},
        {"inside the top edge", 100, 1, fill},
        {"inside the left edge", 1, 100, fill},
        {"inside the right edge", 367, 100, fill},
        {"inside the bottom edge", 100, 303, fill},
        {"centre", 184, 152, fill},
    };
    for (const Pixel &p : pixels)
        EXPECT_EQ(pixelAt(image, p.x, p.y), p.colour) << p.what;
}

TEST(AdvPanel, EdgeFollowsANewSize)
{
    DistinctPalette colours;
    TAdvPanel panel;
    panel.setColor(clWhite);
    panel.resize(100, 50);
    panel.resize(60, 80);
    const QImage image = renderWidget(panel);
    EXPECT_EQ(pixelAt(image, 59, 40), colours.dark);
    EXPECT_EQ(pixelAt(image, 30, 79), colours.dark);
    EXPECT_EQ(pixelAt(image, 58, 78), QColor(Qt::white));
}

TEST(AdvPanel, UnbufferedAndLoweredPaintTheSame)
{
    DistinctPalette colours;
    TAdvPanel panel;
    panel.setColor(clWhite);
    panel.resize(40, 30);
    panel.setBuffered(false);
    panel.setBevelOuter(bvLowered);
    const QImage image = renderWidget(panel);
    EXPECT_EQ(pixelAt(image, 0, 0), colours.dark);
    EXPECT_EQ(pixelAt(image, 39, 29), colours.light);
    EXPECT_EQ(pixelAt(image, 20, 15), QColor(Qt::white));
}

TEST(AdvPanel, SystemColourIsLookedUpAtEachPaint)
{
    const QPalette saved = QApplication::palette();
    TAdvPanel panel;
    panel.setColor(clBtnFace);
    panel.resize(20, 20);
    QPalette palette = saved;
    palette.setColor(QPalette::Button, QColor(12, 34, 56));
    QApplication::setPalette(palette);
    const QImage image = renderWidget(panel);
    QApplication::setPalette(saved);
    EXPECT_EQ(pixelAt(image, 10, 10), QColor(12, 34, 56));
}

TEST(AdvPanel, CheckBoxesTakeItsFont)
{
    TAdvPanel panel;
    auto *box = new QCheckBox(QStringLiteral("ADC0"), &panel);
    EXPECT_EQ(box->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(box->font().pixelSize(), 11);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), toQColor(clWindowText));
}
