#pragma once

#include "chart/AxisMapping.h"
#include "chart/ChartPart.h"
#include "chart/ChartPen.h"
#include "chart/ChartRect.h"
#include "chart/TextWidths.h"

#include <QFont>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

enum class AxisSide { Left, Top, Right, Bottom };

// One side axis of a chart: its range, where it lies, and its labels, ticks and grid.
class TChartAxis : public ChartPart
{
public:
    TChartAxis(TChart *chart, AxisSide side);

    AxisSide side() const { return m_side; }
    bool Horizontal() const { return m_side == AxisSide::Top || m_side == AxisSide::Bottom; }

    // Range: the minimum may not go above the maximum nor the maximum below the
    // minimum (AxisException) unless the chart is being loaded.
    double Minimum() const { return m_minimum; }
    void setMinimum(double value);
    double Maximum() const { return m_maximum; }
    void setMaximum(double value);
    // Both at once: turns the automatic range off, orders the two values and keeps
    // them at least 1e-10 apart.
    void SetMinMax(double minimum, double maximum);

    bool Automatic() const { return m_automatic; }
    void setAutomatic(bool on) { change(m_automatic, on); }
    bool AutomaticMinimum() const { return m_automaticMinimum; }
    void setAutomaticMinimum(bool on) { change(m_automaticMinimum, on); }
    bool AutomaticMaximum() const { return m_automaticMaximum; }
    void setAutomaticMaximum(bool on) { change(m_automaticMaximum, on); }

    double Increment() const { return m_increment; }
    void setIncrement(double value);
    double StartPosition() const { return m_startPosition; }
    void setStartPosition(double percent) { change(m_startPosition, percent); }
    double EndPosition() const { return m_endPosition; }
    void setEndPosition(double percent) { change(m_endPosition, percent); }
    double PositionPercent() const { return m_positionPercent; }
    void setPositionPercent(double percent) { change(m_positionPercent, percent); }

    bool Labels() const { return m_labels; }
    void setLabels(bool on) { change(m_labels, on); }
    const QFont &LabelsFont() const { return m_labelsFont; }
    void setLabelsFont(const QFont &font) { change(m_labelsFont, font); }
    int LabelsSeparation() const { return m_labelsSeparation; }
    void setLabelsSeparation(int percent);
    int LabelsSize() const { return m_labelsSize; }
    void setLabelsSize(int pixels) { change(m_labelsSize, pixels); }
    bool LabelsOnAxis() const { return m_labelsOnAxis; }
    void setLabelsOnAxis(bool on) { change(m_labelsOnAxis, on); }
    bool RoundFirstLabel() const { return m_roundFirstLabel; }
    void setRoundFirstLabel(bool on) { change(m_roundFirstLabel, on); }

    TChartPen &Axis() { return m_axisPen; }
    TChartPen &Grid() { return m_grid; }
    TChartPen &Ticks() { return m_ticks; }
    int TickLength() const { return m_tickLength; }
    void setTickLength(int pixels) { change(m_tickLength, pixels); }
    TChartPen &TicksInner() { return m_ticksInner; }
    int TickInnerLength() const { return m_tickInnerLength; }
    void setTickInnerLength(int pixels) { change(m_tickInnerLength, pixels); }
    TChartPen &MinorTicks() { return m_minorTicks; }
    int MinorTickLength() const { return m_minorTickLength; }
    void setMinorTickLength(int pixels) { change(m_minorTickLength, pixels); }
    int MinorTickCount() const { return m_minorTickCount; }
    void setMinorTickCount(int count) { change(m_minorTickCount, count); }
    TChartPen &MinorGrid() { return m_minorGrid; }
    bool TickOnLabelsOnly() const { return m_tickOnLabelsOnly; }
    void setTickOnLabelsOnly(bool on) { change(m_tickOnLabelsOnly, on); }
    bool Inverted() const { return m_inverted; }
    void setInverted(bool on) { change(m_inverted, on); }
    bool Visible() const { return m_visible; }
    void setVisible(bool on) { change(m_visible, on); }

    const QString &TitleCaption() const { return m_titleCaption; }
    void setTitleCaption(const QString &caption) { change(m_titleCaption, caption); }
    const QFont &TitleFont() const { return m_titleFont; }
    void setTitleFont(const QFont &font) { change(m_titleFont, font); }
    int TitleSize() const { return m_titleSize; }
    void setTitleSize(int pixels) { change(m_titleSize, pixels); }

    // Drawing steps, in the order the chart calls them.
    // The range used for this drawing: fixed, or taken from the given series extremes.
    void computeRange(bool haveData, double dataMinimum, double dataMaximum);
    // Shrinks the plotting rectangle on the axis' side by its title, labels and ticks.
    void takeRoom(ChartRect &plot);
    // Fixes the axis pixels and the axis line on the final plotting rectangle.
    void placeOn(const ChartRect &plot);
    void draw(QPainter &painter, const ChartRect &plot);

    const AxisMapping &mapping() const { return m_map; }
    // Whether a press hits the band of the last drawing that runs along the axis and
    // across from 3 pixels inside the axis line out to the labels.
    bool Clicked(QPoint point) const;
    // The step between labels for the current mapping and labels font.
    double labelIncrement() const;
    // The pixels of the major ticks of the last drawing.
    const std::vector<int> &tickPixels() const { return m_tickPixels; }

private:
    // What decides the step between labels. A pass asks twice per axis, before and after
    // the axes take their room, and a running display asks the same on every pass.
    struct StepQuestion
    {
        double minimum;
        double maximum;
        int length;
        QFont font;
        double increment;
        int separation;
        bool operator==(const StepQuestion &) const = default;
    };
    // The labels of one range and step, with their texts.
    struct LabelRun
    {
        double minimum;
        double maximum;
        double step;
        bool roundFirst;
        std::vector<double> values;
        std::vector<QString> texts;
    };

    double computeLabelIncrement() const;
    const LabelRun &labelRun(double step) const;
    void shrink(ChartRect &plot, int pixels) const;
    int edgeOf(const ChartRect &plot) const;
    int labelSize() const;
    int tickSize() const;
    QString labelText(double value) const;
    QRect labelStrip() const;
    void drawLabel(QPainter &painter, int pixel, const QString &text) const;
    void drawLabels(QPainter &painter);
    void drawAxisLine(QPainter &painter) const;
    void drawTickMarks(QPainter &painter, const std::vector<int> &pixels, int from, int length) const;
    void drawGridLines(QPainter &painter, const std::vector<int> &pixels, const ChartRect &plot) const;
    std::vector<int> minorTickPixels() const;
    void drawTitle(QPainter &painter) const;

    AxisSide m_side;
    double m_minimum = 0;
    double m_maximum = 0;
    bool m_automatic = true;
    bool m_automaticMinimum = true;
    bool m_automaticMaximum = true;
    double m_increment = 0;
    double m_startPosition = 0;
    double m_endPosition = 100;
    double m_positionPercent = 0;
    bool m_labels = true;
    QFont m_labelsFont;
    mutable TextWidths m_labelWidths;
    int m_labelsSeparation = 10;
    int m_labelsSize = 0;
    bool m_labelsOnAxis = true;
    bool m_roundFirstLabel = true;
    TChartPen m_axisPen;
    TChartPen m_grid;
    TChartPen m_ticks;
    int m_tickLength = 4;
    TChartPen m_ticksInner;
    int m_tickInnerLength = 0;
    TChartPen m_minorTicks;
    int m_minorTickLength = 2;
    int m_minorTickCount = 3;
    TChartPen m_minorGrid;
    bool m_tickOnLabelsOnly = true;
    bool m_inverted = false;
    bool m_visible = true;
    QString m_titleCaption;
    QFont m_titleFont;
    int m_titleSize = 0;

    // Working values of one drawing.
    double m_effectiveMinimum = 0;
    double m_effectiveMaximum = 0;
    AxisMapping m_map;
    int m_axisPixel = 0;
    int m_labelPixel = 0;
    int m_titlePixel = 0;
    std::vector<int> m_tickPixels;

    // Answers kept until their inputs change.
    mutable std::array<std::optional<std::pair<StepQuestion, double>>, 2> m_steps;
    mutable std::size_t m_olderStep = 0;
    mutable std::optional<LabelRun> m_labelRun;
};
