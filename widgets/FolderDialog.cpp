#include "widgets/FolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

TFolderDialog::TFolderDialog(QObject *parent) : QObject(parent), m_directory(QDir::currentPath()) {}

bool TFolderDialog::Browse(QWidget *parent)
{
    if (!QFileInfo(m_directory).isDir())
        m_directory = QDir::currentPath();
    std::optional<QString> chosen;
    try {
        chosen = choose(parent);
    } catch (...) {
        // A failing dialog counts as no selection, as a cancel does.
        return false;
    }
    if (!chosen || chosen->isEmpty())
        return false;
    const QFileInfo folder(*chosen);
    if (!folder.isDir())
        return false;
    m_directory = QDir::cleanPath(folder.absoluteFilePath());
    return true;
}

std::optional<QString> TFolderDialog::choose(QWidget *parent) const
{
    if (m_chooser)
        return m_chooser(m_title, m_directory, parent);
    return runDialog(m_title, m_directory, parent);
}

std::optional<QString> TFolderDialog::runDialog(const QString &title, const QString &start, QWidget *parent)
{
    // Qt's own dialog rather than a desktop portal, so that it works under a bare X server.
    QFileDialog dialog(parent, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
}
