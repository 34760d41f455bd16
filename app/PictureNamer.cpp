#include "app/PictureNamer.h"

#include "runtime/Exception.h"

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
    return folder + u'/' + QString::number(picturesLeft) + u'_' + dateText(date) + QStringLiteral(".bmp");
}

bool PictureNamer::seriesReplaces(const QString &folder, int count, const QDate &date)
{
    for (int picturesLeft = 0; picturesLeft < count; ++picturesLeft) {
        if (taken(seriesName(folder, picturesLeft, date)))
            return true;
    }
    return false;
}

bool PictureNamer::taken(const QString &name)
{
    // A link of any kind, dangling too, makes the name taken.
    const QFileInfo entry(name);
    return entry.exists() || entry.isSymLink();
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
        if (const QString name = singleName(folder, r, date); !taken(name))
            return name;
        r = attempt < randomTries ? draw(m_random) : (r + 1) % randomRange;
    }
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(QFileInfo(singleName(folder, r, date)).absoluteFilePath(),
                                 QStringLiteral("File exists")));
}
