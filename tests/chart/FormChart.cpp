#include "FormChart.h"

#include "app/SweepChartDesign.h"

FormChart::FormChart()
{
    chart.resize(825, 249);
    applyChart1Design(chart, series);
    for (TLineSeries *line : series)
        line->LinePen().setWidth(2);
}

int pixelsOfColor(const QImage &image, const QRect &area, TColor color)
{
    const QRgb wanted = toQColor(color).rgb();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == wanted;
    }
    return count;
}
