#pragma once

#include "chart/ChartAxis.h"
#include "chart/ChartLegend.h"
#include "chart/ChartReadout.h"
#include "chart/ChartRect.h"
#include "chart/ChartSeries.h"
#include "chart/ChartTitle.h"
#include "chart/ChartWall.h"
#include "chart/ChartZoom.h"
#include "chart/SeriesView.h"
#include "runtime/Color.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

#include "runtime/PanelBevel.h"

struct SeriesView;

// The sweep chart: panel, title, legend, axes and series drawn in one pass, to the
// screen through an off-screen image, or into a fresh picture for export.
class TChart : public QWidget
{
    Q_OBJECT

public:
    explicit TChart(QWidget *parent = nullptr);
    ~TChart() override;

    TChartAxis &LeftAxis() { return m_leftAxis; }
    TChartAxis &TopAxis() { return m_topAxis; }
    TChartAxis &RightAxis() { return m_rightAxis; }
    TChartAxis &BottomAxis() { return m_bottomAxis; }
    TChartLegend &Legend() { return m_legend; }
    TChartTitle &Title() { return m_title; }
    TChartTitle &Foot() { return m_foot; }
    TChartWall &BackWall() { return m_backWall; }

    TColor Color() const { return m_color; }
    void setColor(TColor color);
    bool View3D() const { return m_view3D; }
    void setView3D(bool on);
    int MarginLeft() const { return m_margins[0]; }
    int MarginTop() const { return m_margins[1]; }
    int MarginRight() const { return m_margins[2]; }
    int MarginBottom() const { return m_margins[3]; }
    void setMargins(int left, int top, int right, int bottom);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void setBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int pixels);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int pixels);
    bool AxisVisible() const { return m_axisVisible; }
    void setAxisVisible(bool on);
    bool ClipPoints() const { return m_clipPoints; }
    void setClipPoints(bool on);
    bool BufferedDisplay() const { return m_buffered; }
    void setBufferedDisplay(bool on);

    // While the chart is loaded from its designed settings, axis ranges are not checked.
    bool Loading() const { return m_loading; }
    void setLoading(bool on) { m_loading = on; }
    bool destroying() const { return m_destroying; }

    // Dense line series are drawn reduced per pixel column (the same picture, far fewer
    // lines); off draws every segment on its own.
    bool lineReduction() const { return m_lineReduction; }
    void setLineReduction(bool on);

    // Takes the series over; it is drawn after the ones added before it.
    void AddSeries(std::unique_ptr<TChartSeries> series);
    int SeriesCount() const { return int(m_series.size()); }
    TChartSeries &Series(int index) { return *m_series[std::size_t(index)]; }

    // Marks the off-screen image out of date and asks for a repaint: many requests
    // before the next repaint cost one drawing pass.
    void Invalidate();

    // Marks only a band of the plotting rectangle out of date (plus the legend rows whose
    // text changes): the next repaint redraws the band with the same drawing pass,
    // clipped to it. While the whole image is out of date, this adds nothing.
    void InvalidateBand(const QRect &band);

    // Called by a series after a point was appended at its end.
    void pointAppended(const TChartSeries &series);

    // What the next repaint redraws of the off-screen image: everything, or the
    // rectangle around the bands invalidated since the last one (empty when nothing).
    bool wholeOutOfDate() const { return !m_bufferValid; }
    QRect outOfDateBand() const { return m_band; }
    // The off-screen image as the window shows it, at the widget's device pixel ratio.
    const QImage &screenBuffer() const { return m_buffer; }

    // A picture of Rect's size with the chart drawn into it from the current data,
    // filled with BackColor first unless that is white.
    QImage RenderBitmap(TColor BackColor, const QRect &Rect);

    // Writes the chart picture at the widget's size as a 24-bit BMP file, replacing any
    // file of that name. Throws EFCreateError or EWriteError.
    void SaveBitmapFile(const QString &FileName);

    // How many drawing passes ran (screen and export).
    int drawingPasses() const { return m_drawingPasses; }
    // How many of them redrew the whole off-screen image.
    int wholeRedraws() const { return m_wholeRedraws; }

    // Mouse zoom and panning (AllowZoom, AnimatedZoom, AnimatedZoomSteps, AllowPanning).
    TChartZoom &Zoom() { return m_zoom; }
    // The values under the pointer and the mark.
    TChartReadout &Readout() { return m_readout; }
    // Layout of the last drawing, for what a press lands on: the plotting rectangle,
    // what a series is drawn with, and the axes that were drawn.
    const ChartRect &plotRect() const { return m_plotRect; }
    SeriesView seriesView(const TChartSeries &series) const;
    std::vector<TChartAxis *> drawnAxes() { return drawnAxes(activeSeries()); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    template <typename T, typename V>
    void change(T &field, const V &value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }

    // Draws the chart into `target`; with a band, the series walk only the points that
    // reach into it (the painter is clipped to it). Records the plotting rectangle.
    void drawPass(QPainter &painter, const QRect &target, const QRect *band = nullptr);
    void refreshBuffer();
    void redrawBands();
    void redrawArea(const QRect &area, const QRect &walked);
    bool followsData(const TChartAxis &axis) const;
    ChartRect plotWithinMargins(const ChartRect &bounds) const;
    void fixPlot(ChartRect &plot, const ChartRect &bounds) const;
    void drawPanel(QPainter &painter, const ChartRect &bounds) const;
    void drawBevel(QPainter &painter, const ChartRect &area, TPanelBevel bevel) const;
    std::vector<const TChartSeries *> activeSeries() const;
    std::vector<TChartAxis *> drawnAxes(const std::vector<const TChartSeries *> &active);
    bool usesAxis(const TChartSeries &series, const TChartAxis &axis) const;
    void computeAxisRange(TChartAxis &axis, const std::vector<const TChartSeries *> &active) const;
    const TChartAxis &horizontalAxisOf(const TChartSeries &series) const;
    const TChartAxis &verticalAxisOf(const TChartSeries &series) const;

    TChartAxis m_leftAxis{this, AxisSide::Left};
    TChartAxis m_topAxis{this, AxisSide::Top};
    TChartAxis m_rightAxis{this, AxisSide::Right};
    TChartAxis m_bottomAxis{this, AxisSide::Bottom};
    TChartLegend m_legend{this};
    TChartTitle m_title{this};
    TChartTitle m_foot{this};
    TChartWall m_backWall{this};
    std::vector<std::unique_ptr<TChartSeries>> m_series;

    TColor m_color = clBtnFace;
    bool m_view3D = true;
    int m_margins[4] = {3, 4, 3, 4};
    TPanelBevel m_bevelOuter = bvRaised;
    TPanelBevel m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    bool m_axisVisible = true;
    bool m_clipPoints = true;
    bool m_buffered = true;
    bool m_loading = false;
    bool m_destroying = false;
    bool m_lineReduction = true;

    TChartZoom m_zoom{*this};
    TChartReadout m_readout{*this};
    ChartRect m_plotRect; // of the last drawing pass

    QImage m_buffer;
    bool m_bufferValid = false;
    QImage m_scratch;               // where bands are drawn before they are taken over
    QRect m_band;                   // out of date within a current image
    bool m_appended = false;        // legend rows may have changed since the last pass
    int m_drawingPasses = 0;
    int m_wholeRedraws = 0;
};
