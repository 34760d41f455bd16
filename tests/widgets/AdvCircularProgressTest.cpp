#include "widgets/AdvCircularProgress.h"

#include "Render.h"
#include "widgets/ProgressAppearance.h"

#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr TColor active = 0xFF9F9F;
constexpr TColor transition = 0xA00000;
constexpr TColor inactive = clSilver;
constexpr TColor progress = 0x400080;

// The colours of segments 1..12 as one string of letters, T(ransition), A(ctive),
// I(nactive) and P(rogress), so that a whole ring reads at a glance.
std::string ring(const TAdvCircularProgress &indicator)
{
    std::string letters;
    for (int i = 1; i <= 12; ++i) {
        switch (indicator.SegmentColor(i)) {
        case transition: letters += 'T'; break;
        case active: letters += 'A'; break;
        case inactive: letters += 'I'; break;
        case progress: letters += 'P'; break;
        default: letters += '?'; break;
        }
    }
    return letters;
}

void advance(TAdvCircularProgress &indicator, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        indicator.AdvanceSegment();
}

// A point on the ray at `degrees` (clockwise from the positive x-axis), `fraction` of
// the way from the centre to the outer ellipse.
QPoint onRay(const CircularSegments &ring, double degrees, double fraction = 0.85)
{
    const double angle = qDegreesToRadians(degrees);
    const QRectF outer(ring.outerRect());
    const double rx = outer.width() / 2;
    const double ry = outer.height() / 2;
    const double radius = 1 / std::sqrt(std::pow(std::cos(angle) / rx, 2) + std::pow(std::sin(angle) / ry, 2));
    return QPoint(int(outer.center().x() + fraction * radius * std::cos(angle)),
                  int(outer.center().y() + fraction * radius * std::sin(angle)));
}

// A point well inside segment i: on the ray through the middle of its sweep.
QPoint insideSegment(const CircularSegments &ring, int i)
{
    return onRay(ring, CircularSegments::startAngle(i) + ring.sweepAngle() / 2.0);
}

} // namespace

TEST(CircularSegments, MainWindowIndicatorGeometry)
{
    const CircularSegments ring(QSize(81, 73), false);
    EXPECT_EQ(ring.sweepAngle(), 24);
    EXPECT_EQ(ring.outerRect(), QRect(0, 0, 81, 73));
    EXPECT_EQ(ring.holeRect(), QRect(18, 17, 43, 38));
}

TEST(CircularSegments, BorderShrinksTheOuterRectangle)
{
    const CircularSegments ring(QSize(81, 73), true);
    EXPECT_EQ(ring.outerRect(), QRect(0, 0, 80, 72));
    EXPECT_EQ(ring.holeRect(), QRect(18, 16, 42, 38));
}

TEST(CircularSegments, SweepAngleByTheLargerSide)
{
    struct Row { int side; int sweep; };
    const Row rows[] = {{39, 22}, {40, 23}, {59, 23}, {60, 24}, {99, 24}, {100, 25}, {199, 25}, {200, 26}};
    for (const Row &row : rows) {
        EXPECT_EQ(CircularSegments::sweepAngleFor(row.side), row.sweep) << row.side;
        EXPECT_EQ(CircularSegments(QSize(10, row.side), false).sweepAngle(), row.sweep) << "height " << row.side;
    }
}

TEST(CircularSegments, SegmentsStartEveryThirtyDegreesFromTheTop)
{
    const CircularSegments ring(QSize(100, 100), false);
    struct Row { int segment; QPoint inside; QPoint outside; };
    // Segment 1 runs clockwise from the top, 4 from the right, 7 from the bottom, 10 from the left.
    const Row rows[] = {
        {1, QPoint(55, 5), QPoint(45, 5)},
        {4, QPoint(95, 55), QPoint(95, 45)},
        {7, QPoint(45, 95), QPoint(55, 95)},
        {10, QPoint(5, 45), QPoint(5, 55)},
    };
    for (const Row &row : rows) {
        EXPECT_TRUE(ring.segment(row.segment).contains(QPointF(row.inside))) << row.segment;
        EXPECT_FALSE(ring.segment(row.segment).contains(QPointF(row.outside))) << row.segment;
    }
}

TEST(AdvCircularProgress, DefaultsAndMainWindowSize)
{
    TAdvCircularProgress indicator;
    EXPECT_EQ(indicator.size(), QSize(60, 60));
    EXPECT_EQ(indicator.Interval(), 100u);
    EXPECT_EQ(indicator.CurrentSegment(), 1);
    EXPECT_TRUE(indicator.FillPhase());
    const TProgressAppearance &colours = *indicator.Appearance();
    EXPECT_EQ(colours.BorderColor(), clNone);
    EXPECT_EQ(colours.BackGroundColor(), clNone);
    EXPECT_EQ(colours.ActiveSegmentColor(), active);
    EXPECT_EQ(colours.TransitionSegmentColor(), transition);
    EXPECT_EQ(colours.InActiveSegmentColor(), inactive);
    EXPECT_EQ(colours.ProgressSegmentColor(), progress);

    indicator.resize(81, 73);
    EXPECT_EQ(indicator.Segments().sweepAngle(), 24);
    EXPECT_EQ(indicator.Segments().holeRect(), QRect(18, 17, 43, 38));
}

TEST(AdvCircularProgress, FillsThenEmptiesTheRing)
{
    TAdvCircularProgress indicator;
    struct Step { const char *what; int ticks; const char *colours; bool fill; };
    const Step steps[] = {
        {"start", 0, "TIIIIIIIIIII", true},
        {"one tick leaves the active colour behind", 1, "ATIIIIIIIIII", true},
        {"last segment of the filling round", 10, "AAAAAAAAAAAT", true},
        {"phase flips back at segment 1", 1, "TAAAAAAAAAAA", false},
        {"emptying leaves the inactive colour behind", 5, "IIIIITAAAAAA", false},
        {"full cycle fills again", 7, "TIIIIIIIIIII", true},
    };
    for (const Step &step : steps) {
        advance(indicator, step.ticks);
        EXPECT_EQ(ring(indicator), step.colours) << step.what;
        EXPECT_EQ(indicator.FillPhase(), step.fill) << step.what;
    }
}

TEST(AdvCircularProgress, ProgressColourTakesTheInactivePlaces)
{
    TAdvCircularProgress indicator;
    indicator.setPosition(100); // = Max
    EXPECT_EQ(indicator.ProgressSegments(), 12);
    advance(indicator, 2);
    EXPECT_EQ(ring(indicator), "AATPPPPPPPPP");
    advance(indicator, 10);
    EXPECT_EQ(ring(indicator), "TAAAAAAAAAAA");
    advance(indicator, 3);
    EXPECT_EQ(ring(indicator), "PPPTAAAAAAAA");

    indicator.setPosition(50); // 50 / (100 / 12) = 6
    EXPECT_EQ(indicator.ProgressSegments(), 6);
    EXPECT_EQ(ring(indicator), "PPPTAAAAAAAA");
    advance(indicator, 5);
    EXPECT_EQ(ring(indicator), "PPPPPPIIT" "AAA");
}

TEST(AdvCircularProgress, RangeWritesOutsideTheirLimitsAreIgnored)
{
    TAdvCircularProgress indicator;
    indicator.setPosition(101);
    indicator.setPosition(-1);
    EXPECT_EQ(indicator.Position(), 0);
    indicator.setPosition(80);
    indicator.setMax(60);
    EXPECT_EQ(indicator.Position(), 60) << "the position follows a lower Max";
    indicator.setMin(70);
    EXPECT_EQ(indicator.Min(), 0) << "a Min above Max is ignored";
    indicator.setMin(-5);
    EXPECT_EQ(indicator.Min(), 0) << "a negative Min is ignored";
    indicator.setMin(20);
    indicator.setMax(10);
    EXPECT_EQ(indicator.Max(), 10) << "a Max below Min is taken";
    EXPECT_EQ(indicator.Position(), 60) << "but the position cannot follow it";
    indicator.setMax(-1);
    EXPECT_EQ(indicator.Max(), 10);
    indicator.setMin(10);
    EXPECT_EQ(indicator.ProgressSegments(), INT_MAX) << "an empty range saturates instead of overflowing";
}

TEST(AdvCircularProgress, EachTickInvalidatesTheChangedPart)
{
    const QRect bounds(288, 32, 81, 73); // half width 40, half height 36
    struct Row { int segment; QRect part; };
    const Row rows[] = {
        {1, QRect(288, 32, 81, 36)},  {2, QRect(328, 32, 41, 36)}, {3, QRect(328, 32, 41, 36)},
        {4, QRect(328, 32, 41, 73)},  {5, QRect(328, 68, 41, 37)}, {6, QRect(328, 68, 41, 37)},
        {7, QRect(288, 68, 81, 37)},  {8, QRect(288, 68, 45, 37)}, {9, QRect(288, 68, 45, 37)},
        {10, QRect(288, 32, 41, 73)}, {11, QRect(288, 32, 41, 40)}, {12, QRect(288, 32, 41, 40)},
    };
    for (const Row &row : rows)
        EXPECT_EQ(TAdvCircularProgress::changedPart(bounds, row.segment), row.part) << row.segment;
}

TEST(AdvCircularProgress, TickRepaintsOnlyThePartThatChanged)
{
    QWidget parent;
    parent.resize(400, 200);
    auto *indicator = new TAdvCircularProgress(&parent);
    indicator->setEnabled(false);
    indicator->setGeometry(288, 32, 81, 73);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    struct PaintRecorder : QObject
    {
        QRegion painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } recorder;
    indicator->installEventFilter(&recorder);
    indicator->AdvanceSegment(); // segment 2: top-right quarter
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.painted.isEmpty(); }, 5000));
    EXPECT_EQ(recorder.painted.boundingRect(), QRect(40, 0, 41, 36));
}

TEST(AdvCircularProgress, EnabledRunsAndPausesTheAnimation)
{
    TAdvCircularProgress indicator;
    indicator.setInterval(10);
    indicator.setEnabled(false);
    EXPECT_FALSE(indicator.isAnimating());
    advance(indicator, 4);

    QSignalSpy ticks(&indicator, &TAdvCircularProgress::progressUpdated);
    indicator.setEnabled(true);
    EXPECT_TRUE(indicator.isAnimating());
    ASSERT_TRUE(ticks.wait(5000));
    indicator.setEnabled(false);
    EXPECT_FALSE(indicator.isAnimating());
    const int segment = indicator.CurrentSegment();
    const bool phase = indicator.FillPhase();
    EXPECT_EQ((segment - 5 + 12 * 100) % 12, (ticks.count() % 12)) << "continued from segment 5";

    indicator.setEnabled(true);
    EXPECT_EQ(indicator.CurrentSegment(), segment);
    EXPECT_EQ(indicator.FillPhase(), phase);
    EXPECT_TRUE(indicator.isAnimating());
}

TEST(AdvCircularProgress, DisabledParentDoesNotStopIt)
{
    QWidget parent;
    auto *indicator = new TAdvCircularProgress(&parent);
    parent.setEnabled(false);
    EXPECT_TRUE(indicator->isAnimating());
    indicator->setEnabled(false);
    parent.setEnabled(true);
    EXPECT_FALSE(indicator->isAnimating());
}

TEST(AdvCircularProgress, PaintsEachSegmentInItsColourAndLeavesTheHole)
{
    TAdvCircularProgress indicator;
    indicator.setEnabled(false);
    indicator.resize(81, 73);
    advance(indicator, 3); // segment 4 running: 1..3 active, 5..12 inactive
    const QColor canvas(1, 2, 3);
    const QImage image = renderWidget(indicator, canvas);
    const CircularSegments &ring = indicator.Segments();
    for (int i = 1; i <= 12; ++i) {
        const QPoint p = insideSegment(ring, i);
        EXPECT_EQ(pixelAt(image, p.x(), p.y()), toQColor(indicator.SegmentColor(i))) << "segment " << i;
    }
    // Nothing inside the hole ellipse, kept a pixel clear of its rim.
    const QRectF hole(ring.holeRect());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x + 0.5 - hole.center().x()) / (hole.width() / 2 - 1);
            const double dy = (y + 0.5 - hole.center().y()) / (hole.height() / 2 - 1);
            if (dx * dx + dy * dy < 1) {
                ASSERT_EQ(pixelAt(image, x, y), canvas) << x << "," << y;
            }
        }
    }
    // Outside the ellipse and between segments the parent's background shows.
    EXPECT_EQ(pixelAt(image, 0, 0), canvas);
    for (int i = 1; i <= 12; ++i) {
        // The middle of the 6-degree gap that follows segment i.
        const QPoint gap = onRay(ring, CircularSegments::startAngle(i) + 27);
        EXPECT_EQ(pixelAt(image, gap.x(), gap.y()), canvas) << "gap after segment " << i;
    }
}

TEST(AdvCircularProgress, NoneColourSkipsSegmentsAndBackgroundAndBorderPaint)
{
    TAdvCircularProgress indicator;
    indicator.setEnabled(false);
    indicator.resize(81, 73);
    indicator.Appearance()->setInActiveSegmentColor(clNone);
    const QColor canvas(1, 2, 3);
    QImage image = renderWidget(indicator, canvas);
    const QPoint second = insideSegment(indicator.Segments(), 2);
    EXPECT_EQ(pixelAt(image, second.x(), second.y()), canvas);

    indicator.Appearance()->setBackGroundColor(clYellow);
    indicator.Appearance()->setBorderColor(clRed);
    image = renderWidget(indicator, canvas);
    EXPECT_EQ(pixelAt(image, 0, 0), QColor(Qt::red));
    EXPECT_EQ(pixelAt(image, 80, 72), QColor(Qt::red));
    EXPECT_EQ(pixelAt(image, 40, 36), QColor(Qt::yellow)) << "the hole shows the background colour";
    EXPECT_EQ(pixelAt(image, second.x(), second.y()), QColor(Qt::yellow));
}

TEST(AdvCircularProgress, AppearanceChangesNotifyOnlyOnNewValues)
{
    TProgressAppearance colours;
    QSignalSpy changed(&colours, &TProgressAppearance::changed);
    colours.setActiveSegmentColor(active);
    EXPECT_EQ(changed.count(), 0);
    colours.setActiveSegmentColor(clRed);
    EXPECT_EQ(changed.count(), 1);

    TProgressAppearance copy;
    QSignalSpy copied(&copy, &TProgressAppearance::changed);
    copy.assign(colours);
    EXPECT_EQ(copy.ActiveSegmentColor(), clRed);
    EXPECT_EQ(copied.count(), 0);
}
