#pragma once

#include <QRect>
#include <QWidget>

class ReadingRecorder;

// Shows that a recording runs: a red dot, "Запись" and the file's name, elided in the
// middle to fit, at the right end of a free strip of its parent (the room), so that it
// never covers the parent's controls. The tooltip gives the whole path and the readings
// taken so far. Hidden while nothing is recorded.
class RecordingMark : public QWidget
{
    Q_OBJECT

public:
    RecordingMark(const ReadingRecorder &recorder, const QRect &room, QWidget *parent);

    // What the mark reads beside its dot.
    QString text() const { return m_text; }
    // What the tooltip says at this moment.
    QString toolTipText() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showRecording(bool recording);
    int textLeft() const;

    const ReadingRecorder &m_recorder;
    QRect m_room;
    QString m_text;
};
