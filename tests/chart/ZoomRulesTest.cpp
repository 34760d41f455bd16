#include "chart/AxisMapping.h"
#include "chart/ZoomRules.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

using ZoomRules::Range;
using ZoomRules::Release;

namespace {

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// --- which drags act -------------------------------------------------------------

struct ReleaseRow
{
    const char *name;
    QPoint start;
    QPoint end;
    Release action;
};

class ReleaseAction : public ::testing::TestWithParam<ReleaseRow>
{
};

TEST_P(ReleaseAction, NeedsMoreThanSixteenPixelsBothWays)
{
    EXPECT_EQ(ZoomRules::releaseAction(GetParam().start, GetParam().end), GetParam().action);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReleaseAction,
    ::testing::Values(ReleaseRow{"seventeenSquareDownRightZooms", {300, 80}, {317, 97}, Release::Zoom},
                      ReleaseRow{"sixteenWideDoesNothing", {300, 80}, {316, 120}, Release::Nothing},
                      ReleaseRow{"sixteenHighDoesNothing", {300, 80}, {340, 96}, Release::Nothing},
                      ReleaseRow{"clickDoesNothing", {300, 80}, {300, 80}, Release::Nothing},
                      ReleaseRow{"upLeftUndoes", {300, 80}, {283, 63}, Release::Undo},
                      ReleaseRow{"downLeftUndoes", {300, 80}, {250, 130}, Release::Undo},
                      ReleaseRow{"upRightUndoes", {300, 80}, {350, 30}, Release::Undo},
                      ReleaseRow{"smallUpLeftDoesNothing", {300, 80}, {290, 40}, Release::Nothing}),
    rowName<ReleaseRow>);

// --- the range a rectangle zooms to --------------------------------------------------

// 0 .. 2000 over pixels 100 .. 600: 4 units a pixel, left to right.
const AxisMapping horizontalAxis(0, 2000, 100, 600, true, false);
// -10 .. 1200 over pixels 20 .. 141: 10 units a pixel, larger values higher.
const AxisMapping verticalAxis(-10, 1200, 20, 141, false, false);

struct TargetRow
{
    const char *name;
    const AxisMapping *axis;
    QPoint a;
    QPoint b;
    Range target;
};

class ZoomTarget : public ::testing::TestWithParam<TargetRow>
{
};

TEST_P(ZoomTarget, TakesTheValuesUnderTheEdges)
{
    const Range target = ZoomRules::zoomTarget(*GetParam().axis, GetParam().a, GetParam().b);
    EXPECT_DOUBLE_EQ(target.minimum, GetParam().target.minimum);
    EXPECT_DOUBLE_EQ(target.maximum, GetParam().target.maximum);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ZoomTarget,
    ::testing::Values(TargetRow{"horizontalLeftAndRightEdges", &horizontalAxis, {150, 30}, {200, 80}, {200, 400}},
                      TargetRow{"horizontalCornersInAnyOrder", &horizontalAxis, {200, 80}, {150, 30}, {200, 400}},
                      TargetRow{"verticalLowerEdgeIsTheMinimum", &verticalAxis, {150, 30}, {200, 80}, {600, 1100}},
                      TargetRow{"verticalCornersInAnyOrder", &verticalAxis, {200, 30}, {150, 80}, {600, 1100}},
                      TargetRow{"verticalBelowTheMinimum", &verticalAxis, {150, 131}, {200, 151}, {-110, 90}}),
    rowName<TargetRow>);

// --- animation, panning and the wheel -------------------------------------------------

struct ShiftRow
{
    const char *name;
    Range before;
    Range after;
    Range expected;
};

void expectRange(Range actual, Range expected)
{
    EXPECT_NEAR(actual.minimum, expected.minimum, 1e-9);
    EXPECT_NEAR(actual.maximum, expected.maximum, 1e-9);
}

class StepToward : public ::testing::TestWithParam<ShiftRow>
{
};

TEST_P(StepToward, MovesAThirdOfTheWay)
{
    expectRange(ZoomRules::stepToward(GetParam().before, GetParam().after), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StepToward,
    ::testing::Values(ShiftRow{"inwards", {-10, 1200}, {200, 500}, {60, 1200 - 700.0 / 3}},
                      ShiftRow{"outwards", {200, 500}, {-10, 1200}, {130, 500 + 700.0 / 3}},
                      ShiftRow{"upwardsPastTheMaximum", {0, 100}, {300, 600}, {100, 266 + 2.0 / 3}},
                      ShiftRow{"atTheTargetStays", {5, 6}, {5, 6}, {5, 6}}),
    rowName<ShiftRow>);

TEST(StepTowardSequence, SevenStepsLeaveTwoThirdsToThePowerSevenOfTheWay)
{
    const Range start{-10, 1200};
    const Range target{200, 500};
    Range range = start;
    for (int step = 1; step <= 7; ++step) {
        range = ZoomRules::stepToward(range, target);
        const double left = std::pow(2.0 / 3.0, step);
        EXPECT_NEAR(target.minimum - range.minimum, left * (target.minimum - start.minimum), 1e-9) << step;
        EXPECT_NEAR(range.maximum - target.maximum, left * (start.maximum - target.maximum), 1e-9) << step;
    }
}

struct PanRow
{
    const char *name;
    const AxisMapping *axis;
    int from;
    int to;
    Range expected;
};

class Panned : public ::testing::TestWithParam<PanRow>
{
};

TEST_P(Panned, ValuesFollowThePointer)
{
    expectRange(ZoomRules::panned(*GetParam().axis, {-10, 1200}, GetParam().from, GetParam().to), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Panned,
    ::testing::Values(PanRow{"downwardsRaisesBothLimits", &verticalAxis, 50, 55, {40, 1250}},
                      PanRow{"upwardsLowersBothLimits", &verticalAxis, 55, 45, {-110, 1100}},
                      PanRow{"rightwardsLowersAHorizontalAxis", &horizontalAxis, 300, 305, {-30, 1180}},
                      PanRow{"samePixelKeepsTheRange", &verticalAxis, 70, 70, {-10, 1200}}),
    rowName<PanRow>);

struct WheelRow
{
    const char *name;
    int notches;
    Range expected;
};

class WheelShifted : public ::testing::TestWithParam<WheelRow>
{
};

TEST_P(WheelShifted, ThreePercentOfTheRangeANotch)
{
    expectRange(ZoomRules::wheelShifted({-10, 1200}, GetParam().notches), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, WheelShifted,
                         ::testing::Values(WheelRow{"towardsTheUserRaises", 1, {26.3, 1236.3}},
                                           WheelRow{"awayFromTheUserLowers", -1, {-46.3, 1163.7}},
                                           WheelRow{"twoNotchesTwice", 2, {62.6, 1272.6}},
                                           WheelRow{"noNotchNoShift", 0, {-10, 1200}}),
                         rowName<WheelRow>);

// --- a press on a line -------------------------------------------------------------

struct SegmentRow
{
    const char *name;
    QPoint press;
    QPoint a;
    QPoint b;
    bool hit;
};

class PressOnSegment : public ::testing::TestWithParam<SegmentRow>
{
};

TEST_P(PressOnSegment, WithinAboutAPixelBetweenTheEnds)
{
    EXPECT_EQ(ZoomRules::pressOnSegment(GetParam().press, GetParam().a, GetParam().b), GetParam().hit);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PressOnSegment,
    ::testing::Values(SegmentRow{"onAFlatLine", {150, 40}, {100, 40}, {200, 40}, true},
                      SegmentRow{"onePixelOffAFlatLine", {150, 41}, {100, 40}, {200, 40}, false},
                      SegmentRow{"onTheDiagonal", {110, 110}, {100, 100}, {200, 200}, true},
                      SegmentRow{"onePixelBesideTheDiagonal", {111, 110}, {100, 100}, {200, 200}, false},
                      SegmentRow{"nearAShallowLine", {150, 45}, {100, 40}, {200, 50}, true},
                      SegmentRow{"beyondTheEnd", {210, 40}, {100, 40}, {200, 40}, false},
                      SegmentRow{"onTheLineOfAVerticalSegment", {100, 150}, {100, 200}, {100, 100}, true},
                      SegmentRow{"beyondAVerticalSegment", {100, 90}, {100, 200}, {100, 100}, false},
                      SegmentRow{"farPixelsDoNotOverflow", {30000, 30000}, {-32000, -32000}, {32000, 32000}, true},
                      SegmentRow{"farPixelsOffTheLine", {30000, 29990}, {-32000, -32000}, {32000, 32000}, false}),
    rowName<SegmentRow>);

} // namespace
