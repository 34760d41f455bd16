#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The box the program opens for its own messages: the application title as caption,
// no icon, one OK that answers both Enter and Esc, centred, modal.
class InfoBox : public QDialog
{
    Q_OBJECT

public:
    explicit InfoBox(const QString &text, QWidget *parent = nullptr);

    // The box's content as Ctrl+C puts it on the clipboard.
    QString clipboardText() const;

    // Shows the box and returns when it is closed.
    static void ShowMessage(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layOut();

    QLabel *m_text;
    QPushButton *m_ok;
};
