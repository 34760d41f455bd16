#pragma once

#include <QString>

// Message catalogues through gettext: one domain per subsystem, looked up in the
// folder "locale" beside the program, in the language LANG names. With no catalogue
// installed every text comes back as written.
namespace Translation {

inline constexpr const char *appDomain = "ondrix";
inline constexpr const char *serialDomain = "ondrix-serial";
inline constexpr const char *frameworkDomain = "ondrix-framework";

// Binds every domain to <programDir>/locale; called once at start-up.
void initialize(const QString &programDir);

// The translation of a UTF-8 text in a domain.
QString translate(const char *domain, const char *text);

} // namespace Translation
