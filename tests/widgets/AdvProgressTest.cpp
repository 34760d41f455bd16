#include "widgets/AdvProgress.h"

#include "Render.h"
#include "runtime/Exception.h"

#include <QApplication>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A bar like the main window's: vertical, smooth, 17 wide; 102 high leaves an inner
// column of exactly 100 pixels inside the one-pixel edge.
struct LevelBar : TAdvProgress
{
    LevelBar()
    {
        setOrientation(pbVertical);
        setSmooth(true);
        setBarColor(clRed);
        setBkColor(clAqua);
        resize(17, 102);
    }

    // Rows of the inner column (x 8) in the bar colour, counted from the bottom up,
    // checking that they form one run touching the bottom.
    int filledRows()
    {
        const QImage image = renderWidget(*this);
        int rows = 0;
        for (int y = 100; y >= 1 && pixelAt(image, 8, y) == QColor(Qt::red); --y)
            ++rows;
        for (int y = 100 - rows; y >= 1; --y)
            EXPECT_EQ(pixelAt(image, 8, y), QColor(Qt::cyan)) << "row " << y;
        return rows;
    }
};

} // namespace

TEST(AdvProgress, FillsFromTheBottomInProportion)
{
    LevelBar bar;
    bar.setRange(0, 1000);
    struct Row { const char *what; std::int32_t position; int rows; };
    const Row rows[] = {
        {"empty at Min", 0, 0},
        {"a third", 333, 33},
        {"rounds to the nearest pixel", 335, 34},
        {"half", 500, 50},
        {"full at Max", 1000, 100},
        {"above Max shows full", 5000, 100},
        {"below Min shows empty", -7, 0},
    };
    for (const Row &row : rows) {
        bar.setPosition(row.position);
        EXPECT_EQ(bar.filledRows(), row.rows) << row.what;
    }
}

TEST(AdvProgress, FillsTheWholeWidthAndKeepsTheEdge)
{
    LevelBar bar;
    bar.setRange(0, 10);
    bar.setPosition(10);
    const QImage image = renderWidget(bar);
    for (int x = 1; x <= 15; ++x)
        EXPECT_EQ(pixelAt(image, x, 50), QColor(Qt::red)) << "x " << x;
    // Neither colour on the outermost ring: it is the control's edge.
    for (const QPoint edge : {QPoint(0, 50), QPoint(16, 50), QPoint(8, 0), QPoint(8, 101)}) {
        EXPECT_NE(pixelAt(image, edge.x(), edge.y()), QColor(Qt::red));
        EXPECT_NE(pixelAt(image, edge.x(), edge.y()), QColor(Qt::cyan));
    }
}

TEST(AdvProgress, HorizontalBarFillsFromTheLeft)
{
    LevelBar bar;
    bar.setOrientation(pbHorizontal);
    bar.resize(102, 17);
    bar.setRange(0, 100);
    bar.setPosition(25);
    const QImage image = renderWidget(bar);
    EXPECT_EQ(pixelAt(image, 1, 8), QColor(Qt::red));
    EXPECT_EQ(pixelAt(image, 25, 8), QColor(Qt::red));
    EXPECT_EQ(pixelAt(image, 26, 8), QColor(Qt::cyan));
    EXPECT_EQ(pixelAt(image, 100, 8), QColor(Qt::cyan));
}

TEST(AdvProgress, BlocksLeaveGapsUnlessSmooth)
{
    LevelBar bar;
    bar.setRange(0, 100);
    bar.setPosition(100);
    bar.setSmooth(false);
    const QImage blocks = renderWidget(bar);
    int gapRows = 0;
    for (int y = 1; y <= 100; ++y)
        gapRows += pixelAt(blocks, 8, y) == QColor(Qt::cyan);
    EXPECT_GT(gapRows, 0);
    EXPECT_EQ(pixelAt(blocks, 8, 100), QColor(Qt::red)) << "the first block starts at the bottom";
}

TEST(AdvProgress, WidestRangeKeepsTheProportion)
{
    // The largest multiplier makes Max 1023 x 100000; products of it must not overflow.
    LevelBar bar;
    bar.setMax(1023 * 100000);
    bar.setPosition(1023 * 100000 / 2);
    EXPECT_EQ(bar.filledRows(), 50);
    EXPECT_EQ(TAdvProgress::filledLength(400, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max(), 0),
              200);
}

TEST(AdvProgress, RangeRule)
{
    LevelBar bar;
    bar.setRange(10, 20);
    bar.setPosition(15);
    try {
        bar.setRange(30, 29);
        FAIL() << "no error for max below min";
    } catch (const ERangeError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("TAdvProgress property out of range"));
    }
    EXPECT_THROW(bar.setMax(9), ERangeError);
    EXPECT_THROW(bar.setMin(21), ERangeError);
    EXPECT_EQ(bar.Min(), 10);
    EXPECT_EQ(bar.Max(), 20);
    EXPECT_EQ(bar.Position(), 15);

    bar.setRange(10, 20); // the same limits: nothing happens
    EXPECT_EQ(bar.Position(), 15);
    bar.setMax(12);
    EXPECT_EQ(bar.Position(), 12) << "a lower Max pulls the position down";
    bar.setMin(0);
    EXPECT_EQ(bar.Position(), 0) << "a lower Min moves the position to it";
    bar.setMin(0);
    bar.setMax(0);
    EXPECT_EQ(bar.Max(), 0) << "an empty range is allowed";
}

TEST(AdvProgress, SystemColourKeepsItsValueAtTheTimeItWasSet)
{
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Highlight, QColor(10, 20, 30));
    QApplication::setPalette(palette);
    LevelBar bar;
    bar.setBarColor(clHighlight);
    bar.setMax(100);
    bar.setPosition(100);
    palette.setColor(QPalette::Highlight, QColor(200, 100, 50));
    QApplication::setPalette(palette);
    const QImage image = renderWidget(bar);
    QApplication::setPalette(saved);
    EXPECT_EQ(bar.BarColor(), clHighlight);
    EXPECT_EQ(pixelAt(image, 8, 50), QColor(10, 20, 30));
}

namespace {

// Counts the paint events the bar gets.
struct CountingBar : LevelBar
{
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        LevelBar::paintEvent(event);
    }
};

} // namespace

// A display tick sets every bar; only a position that moves the fill by a pixel repaints.
TEST(AdvProgress, RepaintsOnlyWhenTheFillMovesAPixel)
{
    CountingBar bar;
    bar.setMax(1023); // 100 pixels for 1023: about ten readings a pixel
    bar.setPosition(500);
    bar.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.paints > 0; }, 10000));
    QCoreApplication::processEvents();
    const int before = bar.paints;

    bar.setPosition(501); // 48.97 -> 48.97: the same 49 pixels
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.Position(), 501);
    EXPECT_EQ(bar.paints, before);

    bar.setPosition(520); // 50.8: 51 pixels
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar.paints > before; }, 10000));
    EXPECT_EQ(bar.filledRows(), 51);
}
