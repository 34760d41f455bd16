#include "chart/AxisLabels.h"

#include <cmath>

namespace AxisLabels {

namespace {

constexpr double smallestStep = 1e-12;
constexpr double intLimit = 2147483647.0;

} // namespace

double nextStep(double x)
{
    // Works on the decade and the leading factor rather than by repeated scaling, whose
    // rounding could leave a step a hair below 2 or 5 and return the same step forever.
    double decade = std::pow(10.0, std::floor(std::log10(x)));
    double factor = x / decade;
    if (factor < 1) {
        decade /= 10;
        factor *= 10;
    }
    constexpr double slack = 1e-9;
    if (factor < 2 - slack)
        return 2 * decade;
    if (factor < 5 - slack)
        return 5 * decade;
    return 10 * decade;
}

int maxLabelCount(int axisSize, int labelSize, int separation)
{
    if (labelSize <= 0)
        return 1;
    const int perLabel = separation > 0 ? labelSize + int(std::nearbyint(separation * 0.01 * labelSize)) : labelSize;
    return int(std::nearbyint(double(axisSize) / perLabel));
}

double increment(double range, int maxLabels, double configuredIncrement, int separation)
{
    if (maxLabels < 1)
        return smallestStep;
    double step = configuredIncrement > 0 ? configuredIncrement : std::fabs(range) >= 1 ? 1 : smallestStep;
    if (separation > 0 && std::isfinite(range)) {
        double count = maxLabels + 1.0;
        while (count > maxLabels && std::isfinite(step)) {
            const double q = range / step;
            if (std::fabs(q) < intLimit)
                count = std::nearbyint(q);
            if (count > maxLabels || !(std::fabs(q) < intLimit))
                step = nextStep(step);
        }
    }
    return std::fmax(step, smallestStep);
}

double roundedLabel(double value, double increment, bool roundFirstLabel)
{
    return roundFirstLabel ? std::trunc(value / increment) * increment : value;
}

std::vector<double> values(double minimum, double maximum, double increment, bool roundFirstLabel)
{
    std::vector<double> labels;
    if (!(std::fabs((maximum - minimum) / increment) < 10000))
        return labels;
    double v = minimum == maximum ? maximum : roundedLabel(maximum, increment, roundFirstLabel);
    while (v > maximum)
        v -= increment;
    const double last = (minimum - smallestStep) / 1.000000000001;
    while (v >= last) {
        labels.push_back(v);
        if (v - increment == v)
            break; // the step is lost below the value's precision: one label only
        v -= increment;
    }
    return labels;
}

} // namespace AxisLabels

