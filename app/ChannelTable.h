#pragma once

#include "app/AcquisitionState.h"
#include "runtime/Color.h"
#include "runtime/Translation.h"

#include <array>

// What belongs to one converter channel on the main window. The tag letter that names a
// channel on the line is the decoder's business (ReadingDecoder::channelOfTag).
struct ChannelInfo
{
    TColor barColor;      // level bar fill
    TColor pointColor;    // colour of every point the display tick appends
    TColor seriesColor;   // the trace's own colour, shown in the legend
    const char *barCaption;   // marked for the catalogue, translated where shown
    const char *traceCaption;
    bool initiallyShown;  // both check boxes start checked
    int barLeft;          // level bar, in the level-bar panel
    int barBoxLeft;       // its check box, same panel
    int barBoxWidth;
    int traceBoxLeft;     // trace check box, on the window
};

// ADC3 and ADC4 draw their points in clMaroon and clTeal but carry their own,
// softer series colours in the legend.
inline constexpr std::array<ChannelInfo, channelCount> channelTable = {{
    {clBlack, clBlack, clBlack, Translation::markApp("ADC0"), Translation::markApp("ADC 0"), true, 8, 8, 49, 384},
    {clRed, clRed, clRed, Translation::markApp("ADC1"), Translation::markApp("ADC 1"), false, 64, 64, 57, 456},
    {clLime, clLime, clLime, Translation::markApp("ADC2"), Translation::markApp("ADC 2"), false, 128, 120, 49, 528},
    {clMaroon, clMaroon, 0x404080, Translation::markApp("ADC3"), Translation::markApp("ADC 3"), false, 184, 176, 49, 600},
    {clTeal, clTeal, 0x808040, Translation::markApp("ADC4"), Translation::markApp("ADC 4"), false, 248, 240, 49, 664},
    {clBlue, clBlue, clBlue, Translation::markApp("ADC5"), Translation::markApp("ADC 5"), false, 304, 296, 49, 736},
}};
