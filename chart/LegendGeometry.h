#pragma once

#include <vector>

// Where a vertical legend goes, from the sizes it is given: the box, its rows and the
// columns of colour boxes and texts. Edges are outside the box on the right and bottom.
struct LegendGeometry
{
    struct Input
    {
        int boundsTop = 0;
        int boundsHeight = 0;
        int plotLeft = 0;   // the plotting rectangle less the margins
        int plotRight = 0;
        int plotBottom = 0;
        int topPos = 10;    // percent of the bounds' height
        int rowHeight = 1;  // text height of "W"
        int frameWidth = 0; // 0 without a visible frame
        bool frameVisible = true;
        int colorWidth = 12; // percent of the text column
        bool alignRight = false;
        std::vector<int> textWidths; // of every row, in order
    };

    int top = 0;
    int rows = 0;
    int textWidth = 0;
    int left = 0;
    int colorBoxWidth = 0;
    int textLeft = 0;
    int right = 0;
    int bottom = 0;

    static LegendGeometry layOut(const Input &input);
    bool operator==(const LegendGeometry &other) const = default;
};
