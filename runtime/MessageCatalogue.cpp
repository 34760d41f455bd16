#include "runtime/MessageCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr quint32 magic = 0x950412de;
constexpr qsizetype headerSize = 20; // magic, revision, count, two table offsets
constexpr qint64 tableEntrySize = 8; // a string's length and offset

// Reads the file's 32-bit numbers in the byte order its magic number shows.
class Reader
{
public:
    explicit Reader(const QByteArray &data) : m_data(data) {}

    bool readMagic()
    {
        if (m_data.size() < headerSize)
            return false;
        const quint32 little = qFromLittleEndian<quint32>(m_data.constData());
        m_bigEndian = little != magic;
        return !m_bigEndian || qFromBigEndian<quint32>(m_data.constData()) == magic;
    }

    quint32 number(qint64 offset) const
    {
        const char *at = m_data.constData() + offset;
        return m_bigEndian ? qFromBigEndian<quint32>(at) : qFromLittleEndian<quint32>(at);
    }

    // String `index` of the table at `table`: offset and length, without the NUL that
    // ends it; nothing when the table or the string lies outside the data.
    std::optional<std::pair<quint32, quint32>> string(quint32 table, quint32 index) const
    {
        const qint64 entry = qint64(table) + qint64(index) * tableEntrySize;
        if (entry + tableEntrySize > m_data.size())
            return std::nullopt;
        const quint32 length = number(entry);
        const quint32 offset = number(entry + 4);
        if (qint64(offset) + qint64(length) >= m_data.size())
            return std::nullopt;
        return std::pair(offset, length);
    }

private:
    const QByteArray &m_data;
    bool m_bigEndian = false;
};

// The character set the header entry names; UTF-8 when it names none.
QByteArray charsetOf(QByteArrayView header)
{
    static const QRegularExpression charset(QStringLiteral("charset=([A-Za-z0-9_.:-]+)"));
    const QRegularExpressionMatch match = charset.match(QString::fromLatin1(header));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArrayLiteral("UTF-8");
}

} // namespace

std::optional<MessageCatalogue> MessageCatalogue::parse(const QByteArray &data)
{
    Reader reader(data);
    if (!reader.readMagic())
        return std::nullopt;
    const quint32 revision = reader.number(4);
    if (revision >> 16 > 1) // later major revisions are not readable as this layout
        return std::nullopt;
    const quint32 count = reader.number(8);
    const quint32 originals = reader.number(12);
    const quint32 translations = reader.number(16);
    // Every entry takes eight bytes in each of the two tables: a count the file cannot
    // hold is damage, and the index made below never outgrows the file.
    if (qint64(count) * 2 * tableEntrySize > data.size())
        return std::nullopt;

    MessageCatalogue catalogue;
    catalogue.m_data = data;
    catalogue.m_entries.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const auto original = reader.string(originals, i);
        const auto translated = reader.string(translations, i);
        if (!original || !translated)
            return std::nullopt;
        catalogue.m_entries.append(Entry{{original->first, original->second}, {translated->first, translated->second}});
    }
    // The header entry is the one with an empty original text.
    const auto header = std::find_if(catalogue.m_entries.cbegin(), catalogue.m_entries.cend(),
                                     [](const Entry &entry) { return entry.original.length == 0; });
    catalogue.m_charset = charsetOf(header == catalogue.m_entries.cend() ? QByteArrayView()
                                                                         : catalogue.view(header->translated));
    if (!QStringDecoder(catalogue.m_charset.constData()).isValid())
        return std::nullopt;

    qint64 budget = data.size();
    if (!catalogue.cutToFirstForms(&Entry::translated, budget) || !catalogue.cutToFirstForms(&Entry::original, budget))
        return std::nullopt;
    catalogue.dropContextsAndHeader();
    catalogue.sortByOriginal();
    return catalogue;
}

std::optional<MessageCatalogue> MessageCatalogue::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Sized once: a buffer grown while reading takes up to twice the file.
    QByteArray data(file.size(), Qt::Uninitialized);
    if (file.read(data.data(), data.size()) != data.size())
        return std::nullopt;
    return parse(data);
}

QString MessageCatalogue::translation(const char *text) const
{
    const QByteArrayView wanted(text);
    const auto found = std::lower_bound(m_entries.cbegin(), m_entries.cend(), wanted,
                                        [this](const Entry &entry, QByteArrayView key) { return view(entry.original) < key; });
    if (found == m_entries.cend() || view(found->original) != wanted)
        return {};
    return QStringDecoder(m_charset.constData())(view(found->translated));
}

QByteArrayView MessageCatalogue::view(Text text) const
{
    return QByteArrayView(m_data.constData() + text.offset, text.length);
}

// The text before the first NUL: a plural entry holds its forms one after another, and
// a text without a plural is found under its first form.
MessageCatalogue::Text MessageCatalogue::firstForm(Text text) const
{
    const qsizetype end = view(text).indexOf('\0');
    return end < 0 ? text : Text{text.offset, quint32(end)};
}

// Cuts one side of every entry to its first form. Entries that point at one string are
// sorted next to each other, so each distinct string is looked at once and costs its
// length once from `budget`; false when the budget does not cover them all.
bool MessageCatalogue::cutToFirstForms(Text Entry::*side, qint64 &budget)
{
    std::sort(m_entries.begin(), m_entries.end(), [side](const Entry &a, const Entry &b) { return a.*side < b.*side; });
    std::optional<Text> whole;
    Text cut;
    for (Entry &entry : m_entries) {
        Text &text = entry.*side;
        if (text != whole) {
            whole = text;
            budget -= text.length;
            if (budget < 0)
                return false;
            cut = firstForm(text);
        }
        text = cut;
    }
    return true;
}

// Drops the header (an empty original), texts with a context (never asked for here) and
// empty translations (none is given). Runs with the entries sorted by original position.
void MessageCatalogue::dropContextsAndHeader()
{
    std::optional<Text> original;
    bool dropped = false;
    m_entries.removeIf([&](const Entry &entry) {
        if (entry.original != original) {
            original = entry.original;
            dropped = entry.original.length == 0 || view(entry.original).contains('\x04');
        }
        return dropped || entry.translated.length == 0;
    });
}

// The lookup's order. Entries that point at one string compare equal without reading it,
// so a string shared by many entries is not compared over and over.
void MessageCatalogue::sortByOriginal()
{
    const auto before = [this](const Entry &a, const Entry &b) {
        return a.original != b.original && view(a.original) < view(b.original);
    };
    std::sort(m_entries.begin(), m_entries.end(), before);
    const auto same = [this](const Entry &a, const Entry &b) {
        return a.original == b.original || view(a.original) == view(b.original);
    };
    m_entries.erase(std::unique(m_entries.begin(), m_entries.end(), same), m_entries.end());
}
