#include "tests/support/CatalogueCompiler.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <gtest/gtest.h>

bool compileCatalogue(const QByteArray &po, const QString &moPath, const QStringList &msgfmtOptions)
{
    QTemporaryFile source(QDir::tempPath() + QStringLiteral("/catalogue-XXXXXX.po"));
    if (!source.open() || source.write(po) != po.size() || !source.flush()) {
        ADD_FAILURE() << "cannot write " << source.fileName().toStdString();
        return false;
    }
    QDir().mkpath(QFileInfo(moPath).absolutePath());
    QProcess msgfmt;
    msgfmt.start(QStringLiteral(ONDRIX_MSGFMT),
                 msgfmtOptions + QStringList{QStringLiteral("-o"), moPath, source.fileName()});
    if (!msgfmt.waitForFinished(60000) || msgfmt.exitStatus() != QProcess::NormalExit || msgfmt.exitCode() != 0) {
        ADD_FAILURE() << "msgfmt: " << msgfmt.readAllStandardError().toStdString() << msgfmt.errorString().toStdString();
        return false;
    }
    return true;
}

QByteArray catalogueHeader(const QByteArray &charset)
{
    return "msgid \"\"\n"
           "msgstr \"Content-Type: text/plain; charset="
           + charset + "\\n\"\n\n";
}
