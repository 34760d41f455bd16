#pragma once

#include <QString>
#include <QStringList>

// Message catalogues: one domain per subsystem, compiled gettext catalogues
// (<folder>/<language>/LC_MESSAGES/<domain>.mo) looked up first in the folder "locale"
// beside the program, then in share/locale of the installation the program lies in.
// The language is the user's (LANG), whether or not that locale is generated on the
// machine. With no catalogue found every text comes back as written.
namespace Translation {

inline constexpr const char *appDomain = "ondrix";
inline constexpr const char *serialDomain = "ondrix-serial";
inline constexpr const char *frameworkDomain = "ondrix-framework";

// Loads every domain's catalogue for the user's language; called once at start-up,
// before any thread asks for a translation.
void initialize(const QString &programDir);

// The translation of a UTF-8 text in a domain.
QString translate(const char *domain, const char *text);

// The user's locale name: LANG, else LC_ALL, else LC_MESSAGES, else the system's.
QString userLocaleName();
// The catalogue folders to try for `localeName` ("ru_RU.UTF-8"), most specific first:
// language_TERRITORY then language, each with the name's @modifier before without it.
// None for the C and POSIX locales.
QStringList languagesFor(const QString &localeName);
// The folders that may hold catalogues, in the order they are searched.
QStringList catalogueFolders(const QString &programDir);

} // namespace Translation
