#include "app/RecordingMark.h"

#include "app/ReadingRecorder.h"
#include "runtime/Color.h"
#include "runtime/Translation.h"

#include <QFileInfo>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// Pixels: the margin at either end, the dot's diameter and the gap after it.
constexpr int margin = 2;
constexpr int dotSize = 8;
constexpr int dotGap = 4;

} // namespace

RecordingMark::RecordingMark(const ReadingRecorder &recorder, const QRect &room, QWidget *parent)
    : QWidget(parent), m_recorder(recorder), m_room(room)
{
    connect(&recorder, &ReadingRecorder::recordingChanged, this, &RecordingMark::showRecording);
    showRecording(recorder.isRecording());
}

int RecordingMark::textLeft() const
{
    return margin + dotSize + dotGap;
}

void RecordingMark::showRecording(bool recording)
{
    setVisible(recording);
    if (!recording)
        return;
    const QFontMetrics metrics = fontMetrics();
    const QString caption = Translation::appText("Запись ");
    const int room = m_room.width() - textLeft() - margin - metrics.horizontalAdvance(caption);
    m_text = caption + metrics.elidedText(QFileInfo(m_recorder.path()).fileName(), Qt::ElideMiddle, room);
    const int width = textLeft() + metrics.horizontalAdvance(m_text) + margin;
    setGeometry(m_room.right() + 1 - width, m_room.top(), width, m_room.height());
    update();
}

QString RecordingMark::toolTipText() const
{
    const QString path = m_recorder.path();
    // "-" is standard output, no file in the current folder.
    const QString whole = path == u'-' ? path : QFileInfo(path).absoluteFilePath();
    return whole + u'\n' + Translation::appText("Записано показаний: %1").arg(m_recorder.readingCount());
}

bool RecordingMark::event(QEvent *event)
{
    // Asked for when it shows, so the count is the current one.
    if (event->type() == QEvent::ToolTip) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), toolTipText(), this);
        return true;
    }
    return QWidget::event(event);
}

void RecordingMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(clRed));
    painter.drawEllipse(margin, (height() - dotSize) / 2, dotSize, dotSize);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(textLeft(), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}
