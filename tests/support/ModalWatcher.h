#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <functional>

class QDialog;

// Answers every modal dialog that opens while it lives, so that code which shows boxes
// runs to its end in a test. It records what each box said; by default it closes the box
// with Esc-equivalent reject(), or hands the dialog to a chosen answer. Watchers nest:
// while a later one lives, it alone records and answers.
class ModalWatcher : public QObject
{
public:
    struct Box
    {
        QString className;
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
    };

    using Answer = std::function<void(QDialog *)>;

    explicit ModalWatcher(Answer answer = {});
    ~ModalWatcher() override;

    // An answer that clicks the button with this caption ("&" left out) with the mouse;
    // a dialog without one is rejected.
    static Answer click(const QString &caption);

    const QList<Box> &boxes() const { return m_boxes; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void record(QDialog *dialog);

    Answer m_answer;
    QList<Box> m_boxes;
    ModalWatcher *m_outer;
};
