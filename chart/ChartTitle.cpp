#include "chart/ChartTitle.h"

#include "chart/ChartFont.h"
#include "chart/PainterClip.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

TChartTitle::TChartTitle(TChart *chart)
    : ChartPart(chart), m_font(chartFont(QStringLiteral("Arial"), 8)), m_frame(*this, clBlack, 1, psSolid, false)
{
}

void TChartTitle::draw(QPainter &painter, ChartRect &plot, bool atTop)
{
    m_shownRect = QRect();
    if (!m_visible || m_text.isEmpty())
        return;
    const QFontMetrics metrics(m_font);
    const int lineHeight = metrics.height();
    const int frame = m_frame.draws() ? m_frame.Width() : 0;
    const int blockHeight = int(m_text.size()) * lineHeight + 2 * frame;
    const int blockTop = atTop ? plot.top : plot.bottom - blockHeight;
    if (clippedAway(painter, QRect(-(1 << 20), blockTop - lineHeight, 1 << 21, blockHeight + 2 * lineHeight))) {
        movePlot(plot, atTop, blockTop, blockHeight);
        return;
    }
    const int halfW = metrics.horizontalAdvance(QLatin1Char('W')) / 2;
    painter.save();
    painter.setFont(m_font);
    painter.setPen(toQColor(m_fontColor));
    painter.setBackgroundMode(Qt::TransparentMode);
    int widest = 0;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const int width = metrics.horizontalAdvance(m_text[i]);
        widest = std::max(widest, width);
        int left = (plot.left + plot.right - width) / 2;
        if (m_alignment & Qt::AlignLeft)
            left = plot.left + halfW;
        else if (m_alignment & Qt::AlignRight)
            left = plot.right - halfW - width;
        painter.drawText(QPoint(left, blockTop + frame + int(i) * lineHeight + metrics.ascent()), m_text[i]);
    }
    const int centre = (plot.left + plot.right) / 2;
    m_shownRect = QRect(centre - widest / 2 - frame, blockTop, widest + 2 * frame, blockHeight);
    if (frame > 0) {
        painter.setPen(m_frame.qpen());
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_shownRect.adjusted(0, 0, 0, -1));
    }
    painter.restore();
    movePlot(plot, atTop, blockTop, blockHeight);
}

void TChartTitle::movePlot(ChartRect &plot, bool atTop, int blockTop, int blockHeight)
{
    if (atTop)
        plot.top = blockTop + blockHeight + 5;
    else
        plot.bottom = blockTop - 5;
}
