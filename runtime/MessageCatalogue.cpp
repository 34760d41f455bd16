#include "runtime/MessageCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr quint32 magic = 0x950412de;
constexpr qsizetype headerSize = 20; // magic, revision, count, two table offsets

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

    // String `index` of the table at `table`: the bytes of its length, without the NUL
    // that ends it; nothing when the table or the string lies outside the data.
    std::optional<QByteArray> string(quint32 table, quint32 index) const
    {
        const qint64 entry = qint64(table) + qint64(index) * 8;
        if (entry + 8 > m_data.size())
            return std::nullopt;
        const qint64 length = number(entry);
        const qint64 offset = number(entry + 4);
        if (offset + length >= m_data.size())
            return std::nullopt;
        return m_data.mid(offset, length);
    }

private:
    const QByteArray &m_data;
    bool m_bigEndian = false;
};

// The character set the header entry names; UTF-8 when it names none.
QByteArray charsetOf(const QByteArray &header)
{
    static const QRegularExpression charset(QStringLiteral("charset=([A-Za-z0-9_.:-]+)"));
    const QRegularExpressionMatch match = charset.match(QString::fromLatin1(header));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArrayLiteral("UTF-8");
}

// The text before the first NUL: a plural entry holds its forms one after another, and
// a text without a plural is found under its first form.
QByteArray firstForm(const QByteArray &text)
{
    const qsizetype end = text.indexOf('\0');
    return end < 0 ? text : text.first(end);
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

    QList<std::pair<QByteArray, QByteArray>> entries;
    QByteArray header;
    for (quint32 i = 0; i < count; ++i) {
        const std::optional<QByteArray> original = reader.string(originals, i);
        const std::optional<QByteArray> translated = reader.string(translations, i);
        if (!original || !translated)
            return std::nullopt;
        if (original->isEmpty())
            header = *translated;
        else if (!original->contains('\x04')) // texts with a context are never asked for here
            entries.emplaceBack(firstForm(*original), firstForm(*translated));
    }

    QStringDecoder decode(charsetOf(header).constData());
    if (!decode.isValid())
        return std::nullopt;
    MessageCatalogue catalogue;
    for (const auto &[original, translated] : entries) {
        if (translated.isEmpty())
            continue;
        catalogue.m_translations.insert(original, decode(translated));
        decode.resetState(); // each text stands alone
    }
    return catalogue;
}

std::optional<MessageCatalogue> MessageCatalogue::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

QString MessageCatalogue::translation(const char *text) const
{
    return m_translations.value(QByteArray(text));
}
