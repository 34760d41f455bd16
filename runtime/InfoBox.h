#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLabel;
class QPushButton;

// The box the program opens for its own messages and questions: the application title
// as caption, no icon, a centred row of buttons, centred on the screen, modal. One
// button, the answer, takes both Enter and Esc.
class InfoBox : public QDialog
{
    Q_OBJECT

public:
    // exec() returns the index of the button chosen; Esc and the title bar's close
    // button give the answer's index.
    explicit InfoBox(const QString &text, const QStringList &buttons = {QStringLiteral("OK")}, int answer = 0,
                     QWidget *parent = nullptr);

    // The box's content as Ctrl+C puts it on the clipboard.
    QString clipboardText() const;

    // Shows the box and returns when it is closed.
    static void ShowMessage(const QString &text);

    // Asks with "Да" and "Нет"; "Нет" takes Enter and Esc, so that a stray key never
    // agrees. True for "Да".
    static bool AskYesNo(const QString &text);

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layOut();

    QLabel *m_text;
    QList<QPushButton *> m_buttons;
    int m_answer;
};
