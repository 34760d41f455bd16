#include "app/SweepChartDesign.h"

#include "app/ChannelTable.h"
#include "chart/Chart.h"
#include "chart/ChartFont.h"
#include "chart/LineSeries.h"
#include "runtime/Translation.h"

#include <memory>

namespace {

void designAxes(TChart &chart)
{
    TChartAxis &left = chart.LeftAxis();
    left.setAutomatic(false);
    left.setAutomaticMinimum(false);
    left.setAutomaticMaximum(false);
    left.setMinimum(-10);
    left.setMaximum(1200);
    left.setStartPosition(2);
    left.setEndPosition(99);
    left.Grid().setStyle(psInsideFrame);

    TChartAxis &bottom = chart.BottomAxis();
    bottom.setAutomatic(false);
    bottom.setAutomaticMinimum(false);
    bottom.setAutomaticMaximum(false);
    bottom.setMinimum(0);
    bottom.setMaximum(2000);
}

void designLegend(TChart &chart)
{
    TChartLegend &legend = chart.Legend();
    legend.setLegendStyle(lsLastValues);
    legend.setAlignment(laLeft);
    legend.setColor(0xF4C8CD);
    legend.setColorWidth(20);
    legend.DividingLines().setVisible(true);
    legend.setFont(chartFontOfHeight(QStringLiteral("Arial"), 13));
    legend.setHorizMargin(104);
    legend.setTopPos(11);
    legend.setResizeChart(false);
    legend.setShadowSize(0);
}

} // namespace

void applyChart1Design(TChart &chart, std::array<TLineSeries *, 6> &series)
{
    chart.setLoading(true);
    chart.setObjectName(QStringLiteral("Chart1"));
    chart.setColor(clSilver);
    chart.setView3D(false);
    chart.Title().setText({Translation::appText("Показания")});
    chart.BackWall().setColor(clWhite);
    chart.BackWall().setBrushSolid(false);
    designAxes(chart);
    designLegend(chart);
    chart.Zoom().setAnimatedZoom(true);
    chart.Zoom().setAllowPanning(pmVertical);
    for (std::size_t i = 0; i < series.size(); ++i) {
        auto line = std::make_unique<TLineSeries>();
        line->setName(QStringLiteral("Series%1").arg(i + 1));
        line->setSeriesColor(channelTable[i].seriesColor); // the legend shows these
        // Names the trace in the readout as its check box does; the legend shows values.
        line->setTitle(Translation::appText(channelTable[i].traceCaption));
        series[i] = line.get();
        chart.AddSeries(std::move(line));
    }
    chart.setLoading(false);
}
