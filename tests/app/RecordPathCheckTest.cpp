#include "app/RecordPathCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(RecordPathCheckTest, acceptsWhatCanBeAppendedToAndNamesWhatCannot)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.csv"));
    QFile(existing).open(QIODevice::WriteOnly);
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    struct Row
    {
        const char *what;
        QString path;
        QString problem; // empty: accepted
    };
    const Row rows[] = {
        {"a new file in a folder", dir.filePath(QStringLiteral("new.csv")), {}},
        {"an existing file", existing, {}},
        {"a named pipe", pipe, {}},
        {"a character device", QStringLiteral("/dev/null"), {}},
        {"standard output", QStringLiteral("-"), {}},
        {"a missing folder", dir.filePath(QStringLiteral("gone/new.csv")),
         QStringLiteral("folder %1: No such file or directory").arg(dir.filePath(QStringLiteral("gone")))},
        {"a folder", dir.path(), QStringLiteral("Is a directory")},
        {"a file used as a folder", existing + QStringLiteral("/new.csv"), QStringLiteral("Not a directory")},
        {"nothing", QString(), QStringLiteral("no file name")},
    };
    for (const Row &row : rows)
        EXPECT_EQ(RecordPathCheck::problem(row.path), row.problem) << row.what;
}

} // namespace
