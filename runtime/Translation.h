#pragma once

#include <QString>
#include <QStringList>

// Message catalogues: one domain per subsystem, compiled gettext catalogues
// (<folder>/<language>/LC_MESSAGES/<domain>.mo) looked up first in the folder "locale"
// beside the program, then in share/locale of the installation the program lies in.
// The language is picked as gettext picks it, whether or not that locale is generated
// on the machine. With no catalogue found every text comes back as written.
namespace Translation {

inline constexpr const char *appDomain = "ondrix";
inline constexpr const char *serialDomain = "ondrix-serial";
inline constexpr const char *frameworkDomain = "ondrix-framework";

// Loads every domain's catalogue for the user's language; called once at start-up,
// before any thread asks for a translation.
void initialize(const QString &programDir);

// The translation of a UTF-8 text in a domain.
QString translate(const char *domain, const char *text);

// The marks po/extract.sh looks for, one pair per domain: the text translated now, or
// only marked where it is kept (a table) and translated when shown.
inline QString appText(const char *text) { return translate(appDomain, text); }
inline QString serialText(const char *text) { return translate(serialDomain, text); }
inline QString frameworkText(const char *text) { return translate(frameworkDomain, text); }
constexpr const char *markApp(const char *text) { return text; }
constexpr const char *markSerial(const char *text) { return text; }

// The variables that choose the language, and the system's locale name.
struct LocaleSettings
{
    QString language;   // LANGUAGE: a list of languages separated by colons
    QString lcAll;      // LC_ALL
    QString lcMessages; // LC_MESSAGES
    QString lang;       // LANG
    QString system;
};
LocaleSettings userLocaleSettings();

// The locale names to try in turn, as gettext does: the messages' locale is LC_ALL, else
// LC_MESSAGES, else LANG, else the system's; under C or POSIX nothing is translated,
// otherwise LANGUAGE's entries come first when it is set, else that locale alone.
QStringList wantedLocales(const LocaleSettings &settings);
// The catalogue folders to try for `localeName` ("ru_RU.UTF-8"), most specific first:
// language_TERRITORY then language, each with the name's @modifier before without it.
// None for the C and POSIX locales.
QStringList languagesFor(const QString &localeName);
// The folders that may hold catalogues, in the order they are searched.
QStringList catalogueFolders(const QString &programDir);

} // namespace Translation
