#pragma once

#include <QFlags>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

enum TOptions {
    fdoBrowseForComputer = 0x01,
    fdoBrowseForPrinter = 0x02,
    fdoDontgoBelowDomain = 0x04,
    fdoReturnFSAncestors = 0x08,
    fdoReturnOnlyFSDirs = 0x10,
    fdoStatusText = 0x20,
    fdoNewDialogStyle = 0x40,
    fdoNoNewFolderButton = 0x80,
};
Q_DECLARE_FLAGS(TFolderOptions, TOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderOptions)

enum TDialogPosition { fdpDefault, fdpScreenCenter, fdpXY };

// The folder chooser: runs a modal folder dialog that starts at Directory and shows
// Title; a confirmed folder becomes the new Directory. Only folders of the file system
// can be chosen, so Options, DialogPosition, DialogX and DialogY are kept as settings
// without changing the dialog.
class TFolderDialog : public QObject
{
    Q_OBJECT

public:
    // Asks the operator for a folder: the title, the folder to start at and the owner
    // window in; the chosen path out, or nothing on cancel.
    using Chooser = std::function<std::optional<QString>(const QString &title, const QString &start,
                                                         QWidget *parent)>;

    // Directory starts as the process's current directory.
    explicit TFolderDialog(QObject *parent = nullptr);

    QString Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString Directory() const { return m_directory; }
    void setDirectory(const QString &directory) { m_directory = directory; }
    std::int32_t ImageIndex() const { return 0; }
    TFolderOptions Options() const { return m_options; }
    void setOptions(TFolderOptions options) { m_options = options; }
    TDialogPosition DialogPosition() const { return m_dialogPosition; }
    void setDialogPosition(TDialogPosition position) { m_dialogPosition = position; }
    std::int32_t DialogX() const { return m_dialogX; }
    void setDialogX(std::int32_t x) { m_dialogX = x; }
    std::int32_t DialogY() const { return m_dialogY; }
    void setDialogY(std::int32_t y) { m_dialogY = y; }
    static QString Version() { return QStringLiteral("1.0.1.1"); }

    // Replaces the dialog, for callers that must answer it without an operator
    // (tests). An empty chooser restores the real dialog.
    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    // Shows the dialog modally. True when a folder was confirmed: Directory is then
    // its absolute path. False on cancel, for a choice that is no existing folder, and
    // when the dialog fails; it never raises. A Directory that names no existing
    // folder is reset to the current directory first, even if the operator cancels.
    bool Browse(QWidget *parent = nullptr);

private:
    std::optional<QString> choose(QWidget *parent) const;
    static std::optional<QString> runDialog(const QString &title, const QString &start, QWidget *parent);

    QString m_title;
    QString m_directory;
    TFolderOptions m_options = fdoNewDialogStyle;
    TDialogPosition m_dialogPosition = fdpDefault;
    std::int32_t m_dialogX = 0;
    std::int32_t m_dialogY = 0;
    Chooser m_chooser;
};
