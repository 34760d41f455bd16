#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

// One compiled gettext catalogue (a .mo file): the translations of one domain into one
// language. Read by the program itself, so a catalogue works whether or not the user's
// locale is generated on the machine.
class MessageCatalogue
{
public:
    // The catalogue in `data`; nothing when it is not a well-formed catalogue or names
    // a character set that cannot be decoded.
    static std::optional<MessageCatalogue> parse(const QByteArray &data);
    // The catalogue in a file; nothing when it cannot be read or is not well-formed.
    static std::optional<MessageCatalogue> load(const QString &path);

    // The translation of a UTF-8 text; a null string when the catalogue has none.
    QString translation(const char *text) const;

private:
    QHash<QByteArray, QString> m_translations;
};
