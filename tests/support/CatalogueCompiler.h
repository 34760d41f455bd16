#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Compiles the text of a gettext catalogue (a .po file) into `moPath` with msgfmt,
// creating the folders on the way. `msgfmtOptions` go before the file names. Returns
// false (and reports msgfmt's words as a test failure) when msgfmt refuses.
bool compileCatalogue(const QByteArray &po, const QString &moPath, const QStringList &msgfmtOptions = {});

// A catalogue header naming `charset`, to put in front of the entries.
QByteArray catalogueHeader(const QByteArray &charset = "UTF-8");
