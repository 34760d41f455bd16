#include "runtime/Translation.h"

#include <QDir>
#include <clocale>
#include <libintl.h>

namespace Translation {

void initialize(const QString &programDir)
{
    // LC_MESSAGES only: numbers and dates keep the C rules the rest of the program uses.
    std::setlocale(LC_MESSAGES, "");
    const QByteArray folder = QDir(programDir).filePath(QStringLiteral("locale")).toLocal8Bit();
    for (const char *domain : {appDomain, serialDomain, frameworkDomain}) {
        bindtextdomain(domain, folder.constData());
        bind_textdomain_codeset(domain, "UTF-8");
    }
}

QString translate(const char *domain, const char *text)
{
    return QString::fromUtf8(dgettext(domain, text));
}

} // namespace Translation
