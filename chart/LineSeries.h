#pragma once

#include "chart/CustomSeries.h"

// The line series of the sweep chart: one trace per channel.
class TLineSeries : public TCustomSeries
{
public:
    TLineSeries() = default;
};
