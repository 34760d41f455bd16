#include "runtime/Application.h"

#include "runtime/Exception.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

QString TApplication::titleFromFileName(const QString &path)
{
    QString name = path;
    name = name.mid(std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\')) + 1);
    name.truncate(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    return name.left(1) + name.mid(1).toLower();
}

QString TApplication::title()
{
    static const QString title = titleFromFileName(QCoreApplication::applicationFilePath());
    return title;
}

QString TApplication::errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void TApplication::substituteDesignFonts()
{
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                              QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), sans);
    // OCR-A from fonts-ocr-a; without it a monospaced face, which the bold label
    // still shows bold.
    QFont::insertSubstitutions(QStringLiteral("OCR A Extended"),
                               {QStringLiteral("OCRA"), QStringLiteral("DejaVu Sans Mono"),
                                QStringLiteral("Liberation Mono")});
}

void TApplication::prepareWindowSystem()
{
    qputenv("QT_XCB_NO_MITSHM", "1");
}

void TApplication::ShowException(const std::exception &error)
{
    if (dynamic_cast<const EAbort *>(&error))
        return;
    const auto *own = dynamic_cast<const Exception *>(&error);
    const QString message = own ? own->message() : QString::fromLocal8Bit(error.what());
    // A program without windows (the recorder) has no box to show: the journal gets it.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
        return;
    }
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    QMessageBox box(QMessageBox::Critical, title(), errorBoxText(message), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
