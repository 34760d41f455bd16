#include "app/RecordMenu.h"

#include "app/ReadingRecorder.h"
#include "runtime/Application.h"
#include "runtime/Translation.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QWidget>

RecordMenu::RecordMenu(ReadingRecorder &recorder, QWidget *owner)
    : QObject(owner),
      m_recorder(recorder),
      m_owner(owner),
      m_start(new QAction(Translation::appText("Записывать показания в файл…"), this)),
      m_stop(new QAction(Translation::appText("Остановить запись"), this)),
      m_suggested(QDir::current().filePath(QStringLiteral("ondrix.csv")))
{
    owner->addAction(m_start);
    owner->addAction(m_stop);
    owner->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_start, &QAction::triggered, this, [this] { TApplication::guard([this] { chooseAndStart(); }); });
    connect(m_stop, &QAction::triggered, this, [this] { TApplication::guard([this] { m_recorder.stop(); }); });
    connect(&m_recorder, &ReadingRecorder::recordingChanged, this, &RecordMenu::showRecording);
    showRecording(m_recorder.isRecording());
}

void RecordMenu::chooseAndStart()
{
    const std::optional<QString> path = m_chooser ? m_chooser(m_suggested, m_owner) : runDialog(m_suggested, m_owner);
    if (!path || path->isEmpty())
        return;
    m_suggested = *path;
    m_recorder.start(*path);
}

void RecordMenu::showRecording(bool recording)
{
    m_start->setEnabled(!recording);
    m_stop->setEnabled(recording);
}

std::optional<QString> RecordMenu::runDialog(const QString &suggested, QWidget *parent)
{
    QFileDialog dialog(parent, Translation::appText("Записывать показания в файл"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("CSV (*.csv)"), QStringLiteral("* (*)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    // Qt's own dialog, as for the picture folder; an existing file is appended to, so
    // there is nothing to confirm.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
