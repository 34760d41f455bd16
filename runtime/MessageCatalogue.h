#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One compiled gettext catalogue (a .mo file): the translations of one domain into one
// language. Read by the program itself, so a catalogue works whether or not the user's
// locale is generated on the machine.
//
// The catalogue keeps the file's bytes and an index into them, and decodes a translation
// when it is asked for; so it never holds more than twice the file's size, however many
// entries share one string. A file whose distinct strings together are longer than the
// file itself (strings overlapping one another) is refused.
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
    // Where a string lies in the file.
    struct Text
    {
        quint32 offset = 0;
        quint32 length = 0;
        auto operator<=>(const Text &) const = default;
    };

    struct Entry
    {
        Text original;
        Text translated;
    };

    QByteArrayView view(Text text) const;
    Text firstForm(Text text) const;
    bool cutToFirstForms(Text Entry::*side, qint64 &budget);
    void dropContextsAndHeader();
    void sortByOriginal();

    QByteArray m_data;
    QList<Entry> m_entries; // sorted by original text, each text once
    QByteArray m_charset;
};
