#pragma once

#include "chart/ChartPart.h"
#include "chart/ChartValueList.h"
#include "chart/ColorRunList.h"
#include "chart/PointLabelList.h"
#include "runtime/Color.h"

#include <QPoint>
#include <QString>
#include <functional>

class AxisMapping;
class QPainter;
class QRect;
struct SeriesView;

enum THorizAxis { aBottomAxis, aTopAxis };
enum TVertAxis { aLeftAxis, aRightAxis };

// One trace of a chart: points (X, Y, colour, optional label) kept sorted by X under
// the X list's order, and the settings the legend and the painting read.
class TChartSeries : public ChartPart
{
public:
    using BeforeAddHook = std::function<bool(TChartSeries &)>;
    using AfterAddHook = std::function<void(TChartSeries &, int index)>;
    using ClearHook = std::function<void(TChartSeries &)>;

    TChartSeries();

    // Attached by the chart that takes the series over.
    void setParentChart(TChart *chart) { ChartPart::setParentChart(chart); }

    const QString &Name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    bool Active() const { return m_active; }
    void setActive(bool active);
    TColor SeriesColor() const { return m_seriesColor; }
    void setSeriesColor(TColor color) { change(m_seriesColor, color); }
    bool ColorEachPoint() const { return m_colorEachPoint; }
    void setColorEachPoint(bool on) { change(m_colorEachPoint, on); }
    bool ShowInLegend() const { return m_showInLegend; }
    void setShowInLegend(bool on) { change(m_showInLegend, on); }
    const QString &Title() const { return m_title; }
    void setTitle(const QString &title) { change(m_title, title); }
    // What names the series to the operator: its title, or its name without one.
    const QString &shownTitle() const { return m_title.isEmpty() ? m_name : m_title; }
    const QString &ValueFormat() const { return m_valueFormat; }
    void setValueFormat(const QString &format) { change(m_valueFormat, format); }
    const QString &PercentFormat() const { return m_percentFormat; }
    void setPercentFormat(const QString &format) { change(m_percentFormat, format); }
    THorizAxis HorizAxis() const { return m_horizAxis; }
    void setHorizAxis(THorizAxis axis) { change(m_horizAxis, axis); }
    TVertAxis VertAxis() const { return m_vertAxis; }
    void setVertAxis(TVertAxis axis) { change(m_vertAxis, axis); }

    TChartValueList &XValues() { return m_xValues; }
    const TChartValueList &XValues() const { return m_xValues; }
    TChartValueList &YValues() { return m_yValues; }
    const TChartValueList &YValues() const { return m_yValues; }

    void setOnBeforeAdd(BeforeAddHook hook) { m_onBeforeAdd = std::move(hook); }
    void setOnAfterAdd(AfterAddHook hook) { m_onAfterAdd = std::move(hook); }
    void setOnClearValues(ClearHook hook) { m_onClearValues = std::move(hook); }

    // Adds a point where its X belongs and returns its index, or -1 when the
    // before-add hook refused it.
    int AppendPoint(double X, double Y, const QString &Label, TColor Color);
    void ClearPoints();
    int PointCount() const { return m_xValues.Count(); }

    // The colour point Index is drawn in: its own, else a palette entry when each point
    // is coloured, else the series colour.
    TColor PointColor(int Index) const;
    QString PointLabel(int Index) const { return m_labels.at(Index); }

    // The drawn point (not a null one) whose column through `horizontal` lies nearest to
    // `column`, at most `reach` pixels off; -1 when there is none. X values must be in
    // ascending order: without order no point is found.
    int nearestPoint(const AxisMapping &horizontal, int column, int reach) const;

    // Bytes held for the points (values, colours; labels not counted).
    std::size_t allocatedBytes() const;

    virtual void draw(QPainter &painter, const SeriesView &view) const = 0;
    // Whether a press at `point` hits the series as drawn with `view`.
    virtual bool Clicked(const SeriesView &view, QPoint point) const = 0;
    // The part of the plotting rectangle that the drawing of the last point appended
    // can have changed (empty when nothing was drawn for it).
    virtual QRect lastPointBand(const SeriesView &view) const = 0;
    // The mark beside the series' row in the legend, inside `box`.
    virtual void drawLegendSymbol(QPainter &painter, const QRect &box) const = 0;

protected:
    void repaint() override;
    const ColorRunList &colors() const { return m_colors; }

private:
    QString m_name;
    bool m_active = true;
    TColor m_seriesColor = clDefault;
    bool m_colorEachPoint = false;
    bool m_showInLegend = true;
    QString m_title;
    QString m_valueFormat = QStringLiteral("#,##0.###");
    QString m_percentFormat = QStringLiteral("##0.## %");
    THorizAxis m_horizAxis = aBottomAxis;
    TVertAxis m_vertAxis = aLeftAxis;
    TChartValueList m_xValues{QStringLiteral("X"), loAscending};
    TChartValueList m_yValues{QStringLiteral("Y"), loNone};
    ColorRunList m_colors;
    PointLabelList m_labels;
    BeforeAddHook m_onBeforeAdd;
    AfterAddHook m_onAfterAdd;
    ClearHook m_onClearValues;
};
