#pragma once

#include "app/AcquisitionState.h"

#include <array>

class TChart;
class TLineSeries;

// Gives a fresh chart every designed setting of the main window's sweep chart Chart1 and
// creates its six series Series1 .. Series6 (owned by the chart), returned in `series`.
void applyChart1Design(TChart &chart, std::array<TLineSeries *, channelCount> &series);
