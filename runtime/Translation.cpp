#include "runtime/Translation.h"

#include "runtime/MessageCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QtDebug>

namespace Translation {

namespace {

// Written only by initialize(), before other threads start; read from any thread after.
QHash<QByteArray, MessageCatalogue> &catalogues()
{
    static QHash<QByteArray, MessageCatalogue> loaded;
    return loaded;
}

// The first entry of `locales` with a readable catalogue wins, beside the program before
// the installation, the territory's before the language's.
std::optional<MessageCatalogue> findCatalogue(const QStringList &folders, const QStringList &locales,
                                              const char *domain)
{
    const QString file = QStringLiteral("/LC_MESSAGES/") + QString::fromLatin1(domain) + QStringLiteral(".mo");
    for (const QString &locale : locales) {
        for (const QString &folder : folders) {
            for (const QString &language : languagesFor(locale)) {
                const QString path = folder + u'/' + language + file;
                if (!QFileInfo::exists(path))
                    continue;
                if (std::optional<MessageCatalogue> catalogue = MessageCatalogue::load(path))
                    return catalogue;
                qWarning().noquote() << "Ignoring" << path << "- not a readable message catalogue";
            }
        }
    }
    return std::nullopt;
}

} // namespace

LocaleSettings userLocaleSettings()
{
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
            qEnvironmentVariable("LANG"), QLocale::system().name()};
}

QStringList wantedLocales(const LocaleSettings &settings)
{
    QString messages = settings.system;
    for (const QString *variable : {&settings.lcAll, &settings.lcMessages, &settings.lang}) {
        if (!variable->isEmpty()) {
            messages = *variable;
            break;
        }
    }
    // gettext ignores LANGUAGE under the C locale, so that LANG=C always gives the
    // program's own texts.
    if (languagesFor(messages).isEmpty())
        return {};
    QStringList locales = settings.language.split(u':', Qt::SkipEmptyParts);
    if (locales.isEmpty())
        locales << messages;
    return locales;
}

QStringList languagesFor(const QString &localeName)
{
    // language[_TERRITORY][.codeset][@modifier]; catalogue folders carry no codeset.
    QString name = localeName;
    QString modifier;
    if (const qsizetype at = name.indexOf(u'@'); at >= 0) {
        modifier = name.sliced(at);
        name.truncate(at);
    }
    if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
        name.truncate(dot);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return {};
    const QString language = name.section(u'_', 0, 0);
    QStringList names;
    for (const QString &base : {name, language}) {
        if (!modifier.isEmpty())
            names << base + modifier;
        names << base;
    }
    names.removeDuplicates();
    return names;
}

QStringList catalogueFolders(const QString &programDir)
{
    const QDir dir(programDir);
    return {QDir::cleanPath(dir.filePath(QStringLiteral("locale"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/locale")))};
}

void initialize(const QString &programDir)
{
    const QStringList folders = catalogueFolders(programDir);
    const QStringList locales = wantedLocales(userLocaleSettings());
    QHash<QByteArray, MessageCatalogue> &loaded = catalogues();
    loaded.clear();
    for (const char *domain : {appDomain, serialDomain, frameworkDomain}) {
        if (std::optional<MessageCatalogue> catalogue = findCatalogue(folders, locales, domain))
            loaded.emplace(domain, std::move(*catalogue));
    }
}

QString translate(const char *domain, const char *text)
{
    const auto found = catalogues().constFind(domain);
    if (found != catalogues().constEnd()) {
        if (QString translated = found->translation(text); !translated.isNull())
            return translated;
    }
    return QString::fromUtf8(text);
}

} // namespace Translation
