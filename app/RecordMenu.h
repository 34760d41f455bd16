#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QWidget;
class ReadingRecorder;

// The context menu of a widget (the level-bar panel) that starts and stops recordings:
// "Записывать показания в файл…" asks for a file and starts at once, "Остановить
// запись" ends the recording. Each item is enabled only while it can act.
class RecordMenu : public QObject
{
    Q_OBJECT

public:
    // Asks the operator for a file to record into, starting at a suggested path; the
    // chosen path, or nothing on cancel.
    using Chooser = std::function<std::optional<QString>(const QString &suggested, QWidget *parent)>;

    RecordMenu(ReadingRecorder &recorder, QWidget *owner);

    QAction *startAction() const { return m_start; }
    QAction *stopAction() const { return m_stop; }

    // Replaces the dialog, for tests; an empty chooser restores it.
    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }

private:
    void chooseAndStart();
    void showRecording(bool recording);
    static std::optional<QString> runDialog(const QString &suggested, QWidget *parent);

    ReadingRecorder &m_recorder;
    QWidget *m_owner;
    QAction *m_start;
    QAction *m_stop;
    QString m_suggested;
    Chooser m_chooser;
};
