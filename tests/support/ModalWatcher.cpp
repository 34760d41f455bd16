#include "tests/support/ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

ModalWatcher *innermost = nullptr;

} // namespace

ModalWatcher::ModalWatcher(Answer answer) : m_answer(std::move(answer)), m_outer(innermost)
{
    innermost = this;
    qApp->installEventFilter(this);
}

ModalWatcher::~ModalWatcher()
{
    qApp->removeEventFilter(this);
    innermost = m_outer;
}

ModalWatcher::Answer ModalWatcher::click(const QString &caption)
{
    return [caption](QDialog *dialog) {
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (button->text().remove(u'&') == caption) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        dialog->reject();
    };
}

bool ModalWatcher::eventFilter(QObject *watched, QEvent *event)
{
    // Events for other objects are not looked at: some were made on other threads and
    // handed over inside Qt, where ThreadSanitizer cannot see the hand-over.
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (dialog && event->type() == QEvent::Show && dialog->isModal() && this == innermost) {
        record(dialog);
        // Answer once the dialog's own loop runs, as a user would.
        QMetaObject::invokeMethod(
            dialog,
            [this, dialog] {
                if (m_answer)
                    m_answer(dialog);
                else
                    dialog->reject();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void ModalWatcher::record(QDialog *dialog)
{
    Box box;
    box.className = QString::fromLatin1(dialog->metaObject()->className());
    box.title = dialog->windowTitle();
    if (auto *messageBox = qobject_cast<QMessageBox *>(dialog)) {
        box.text = messageBox->text();
        box.icon = messageBox->icon();
        for (QAbstractButton *button : messageBox->buttons())
            box.buttons << button->text().remove(u'&');
    } else {
        for (QLabel *label : dialog->findChildren<QLabel *>())
            box.text += label->text();
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            box.buttons << button->text().remove(u'&');
    }
    m_boxes << box;
}
