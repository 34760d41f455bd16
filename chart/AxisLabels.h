#pragma once

#include <vector>

// The rules that choose where an axis puts its labels: how many fit, the step between
// them (1-2-5 steps) and their values. Pure functions, the axis drawing calls them.
namespace AxisLabels {

// The step after x in the sequence ... 0.5, 1, 2, 5, 10, 20, 50 ...
double nextStep(double x);

// How many labels of `labelSize` pixels fit along `axisSize` pixels with `separation`
// percent of a label between two.
int maxLabelCount(int axisSize, int labelSize, int separation);

// The step between labels: the configured increment (or 1, or 1e-12 for ranges below 1)
// raised along nextStep until at most `maxLabels` labels cover the range.
double increment(double range, int maxLabels, double configuredIncrement, int separation);

// Label values from the top (right) end of the axis downwards. None when the range
// would need 10000 labels or more.
std::vector<double> values(double minimum, double maximum, double increment, bool roundFirstLabel);

// The value the first (or any end) label takes: v truncated towards zero to a multiple
// of the increment when rounding is on.
double roundedLabel(double value, double increment, bool roundFirstLabel);

} // namespace AxisLabels
