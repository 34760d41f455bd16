#include "app/PictureNamer.h"

#include "runtime/Exception.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <chrono>

PictureNamer::PictureNamer()
    : PictureNamer(std::uint32_t(std::chrono::system_clock::now().time_since_epoch().count()))
{
}

PictureNamer::PictureNamer(std::uint32_t seed) : m_random(seed) {}

QString PictureNamer::dateText(const QDate &date, const QLocale &locale)
{
    // The C locale (LANG unset, C or POSIX, as services and containers often run) writes
    // "8 Dec 2026": spaces and an English month in a file name. Its names take the
    // numeric ISO date instead.
    if (locale.language() == QLocale::C)
        return date.toString(Qt::ISODate);
    return locale.toString(date, QLocale::ShortFormat).replace(u'/', u'-');
}

QString PictureNamer::seriesName(const QString &folder, int picturesLeft, const QDate &date)
{
    return folder + u'/' + QString::number(picturesLeft) + seriesTail(date);
}

QString PictureNamer::seriesTail(const QDate &date)
{
    return u'_' + dateText(date) + QStringLiteral(".bmp");
}

bool PictureNamer::seriesReplaces(const QString &folder, int count, const QDate &date)
{
    const QString tail = seriesTail(date);
    // A series may be 50000 pictures long: one pass over the folder instead of a look-up
    // a name, which would hold the window for seconds. Dangling links are listed too.
    QDirIterator entries(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const int number = seriesNumber(entries.nextFileInfo().fileName(), tail);
        if (number >= 0 && number < count)
            return true;
    }
    return false;
}

int PictureNamer::seriesNumber(const QString &name, const QString &tail)
{
    if (!name.endsWith(tail))
        return -1;
    const QString number = name.chopped(tail.size());
    bool ok = false;
    const int value = number.toInt(&ok);
    // Only the number as a series writes it: "01" or "+1" is another name.
    return ok && value >= 0 && QString::number(value) == number ? value : -1;
}

QString PictureNamer::singleName(const QString &folder, int r, const QDate &date)
{
    return folder + QStringLiteral("/one_") + QString::number(r) + u'_' + dateText(date)
           + QStringLiteral(".bmp");
}

QString PictureNamer::singleName(const QString &folder, const QDate &date)
{
    std::uniform_int_distribution<int> draw(0, randomRange - 1);
    // Random draws find a free name quickly while few are taken; a sweep from the last
    // draw guarantees an end when almost all are.
    constexpr int randomTries = 64;
    int r = draw(m_random);
    for (int attempt = 0; attempt < randomTries + randomRange; ++attempt) {
        QString name = singleName(folder, r, date);
        // A link of any kind, dangling too, makes the name taken.
        if (const QFileInfo entry(name); !entry.exists() && !entry.isSymLink())
            return name;
        r = attempt < randomTries ? draw(m_random) : (r + 1) % randomRange;
    }
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(QFileInfo(singleName(folder, r, date)).absoluteFilePath(),
                                 QStringLiteral("File exists")));
}
