#include "runtime/MessageCatalogue.h"
#include "runtime/Translation.h"
#include "tests/support/CatalogueCompiler.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <malloc.h>

namespace {

const QByteArray entries = "msgid \"Setup\"\n"
                           "msgstr \"Настройка\"\n\n"
                           "msgid \"%d port\"\n"
                           "msgid_plural \"%d ports\"\n"
                           "msgstr[0] \"%d порт\"\n"
                           "msgstr[1] \"%d порта\"\n\n"
                           "msgctxt \"menu\"\n"
                           "msgid \"Port\"\n"
                           "msgstr \"Меню порта\"\n\n"
                           "msgid \"Cancel\"\n"
                           "msgstr \"\"\n";

class MessageCatalogueTest : public testing::Test
{
protected:
    QByteArray compiled(const QByteArray &po, const QStringList &options = {})
    {
        const QString path = folder.filePath(QStringLiteral("test.mo"));
        if (!compileCatalogue(po, path, options))
            return {};
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

TEST_F(MessageCatalogueTest, readsEitherByteOrderAndOnlyPlainEntriesByTheirFirstForm)
{
    for (const char *order : {"little", "big"}) {
        SCOPED_TRACE(order);
        const std::optional<MessageCatalogue> catalogue = MessageCatalogue::parse(
            compiled(catalogueHeader() + entries, {QStringLiteral("--endianness=") + QLatin1String(order)}));
        ASSERT_TRUE(catalogue);
        EXPECT_EQ(catalogue->translation("Setup"), QStringLiteral("Настройка"));
        EXPECT_EQ(catalogue->translation("%d port"), QStringLiteral("%d порт"));
        EXPECT_TRUE(catalogue->translation("Port").isNull()) << "only asked for with its context";
        EXPECT_TRUE(catalogue->translation("Cancel").isNull()) << "an empty translation is none";
        EXPECT_TRUE(catalogue->translation("").isNull()) << "the header is no translation";
        EXPECT_TRUE(catalogue->translation("Unknown").isNull());
    }
}

TEST_F(MessageCatalogueTest, decodesTheCharacterSetItsHeaderNames)
{
    const QByteArray po = QStringEncoder("KOI8-R")(QString::fromUtf8(catalogueHeader("KOI8-R") + entries));
    const std::optional<MessageCatalogue> catalogue = MessageCatalogue::parse(compiled(po));
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->translation("Setup"), QStringLiteral("Настройка"));

    QByteArray unknownCharset = compiled(catalogueHeader() + entries);
    const qsizetype at = unknownCharset.indexOf("charset=UTF-8");
    ASSERT_GE(at, 0);
    unknownCharset.replace(at, 13, "charset=XX-99");
    EXPECT_FALSE(MessageCatalogue::parse(unknownCharset)) << "text it cannot decode is not passed on garbled";
}

TEST_F(MessageCatalogueTest, aDamagedFileIsNoCatalogue)
{
    const QByteArray whole = compiled(catalogueHeader() + entries);
    ASSERT_TRUE(MessageCatalogue::parse(whole));
    for (qsizetype size = 0; size < whole.size(); ++size)
        EXPECT_FALSE(MessageCatalogue::parse(whole.first(size))) << "cut to " << size << " bytes";

    QByteArray wrongMagic = whole;
    wrongMagic[0] = char(wrongMagic[0] ^ 1);
    EXPECT_FALSE(MessageCatalogue::parse(wrongMagic));
    QByteArray laterRevision = whole;
    laterRevision[6] = 2; // little-endian major revision 2
    EXPECT_FALSE(MessageCatalogue::parse(laterRevision));
    QByteArray hugeCount = whole;
    hugeCount[11] = char(0x7f);
    EXPECT_FALSE(MessageCatalogue::parse(hugeCount));
    EXPECT_FALSE(MessageCatalogue::load(folder.filePath(QStringLiteral("missing.mo"))));
}

// Heap in use; AddressSanitizer keeps its own books, so there it tells nothing.
std::optional<std::size_t> heapInUse()
{
#ifdef __SANITIZE_ADDRESS__
    return std::nullopt;
#else
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
#endif
}

// A catalogue no compiler makes: `count` entries whose translations all point into one
// long string, either at the whole of it or each at its tail from the entry's index on.
// Originals are "m<index>", or all the long string too.
QByteArray craftedCatalogue(int count, const QByteArray &longString, bool sharedOriginals, bool overlapping)
{
    const quint32 tables = 28;
    const quint32 strings = tables + quint32(count) * 16;
    QByteArray file(strings, '\0');
    const auto put = [&](quint32 at, quint32 value) { qToLittleEndian(value, file.data() + at); };
    put(0, 0x950412de);
    put(8, quint32(count));
    put(12, tables);
    put(16, tables + quint32(count) * 8);
    const quint32 longAt = strings;
    file += longString + '\0';
    for (int i = 0; i < count; ++i) {
        const quint32 tail = overlapping ? quint32(i) : 0;
        put(tables + quint32(count) * 8 + quint32(i) * 8, quint32(longString.size()) - tail);
        put(tables + quint32(count) * 8 + quint32(i) * 8 + 4, longAt + tail);
        const QByteArray original = sharedOriginals ? longString : "m" + QByteArray::number(i);
        put(tables + quint32(i) * 8, quint32(original.size()));
        put(tables + quint32(i) * 8 + 4, sharedOriginals ? longAt : quint32(file.size()));
        if (!sharedOriginals)
            file += original + '\0';
    }
    return file;
}

TEST_F(MessageCatalogueTest, aStringSharedByManyEntriesCostsItsSizeOnce)
{
    const QByteArray longString(64 * 1024, 'x');
    const struct
    {
        const char *name;
        bool sharedOriginals;
        bool overlapping;
        bool read;
    } rows[] = {
        {"every translation is the one string", false, false, true},
        {"every original and translation is the one string", true, false, true},
        {"translations overlap each other", false, true, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QByteArray file = craftedCatalogue(10000, longString, row.sharedOriginals, row.overlapping);
        const QString path = folder.filePath(QStringLiteral("crafted.mo"));
        {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            ASSERT_EQ(out.write(file), file.size());
        }
        const std::optional<std::size_t> before = heapInUse();
        const std::optional<MessageCatalogue> catalogue = MessageCatalogue::load(path);
        if (before) {
            EXPECT_LE(*heapInUse() - *before, std::size_t(file.size()) * 2) << "the file has " << file.size() << " bytes";
        }
        ASSERT_EQ(catalogue.has_value(), row.read);
        if (catalogue) {
            const QByteArray original = row.sharedOriginals ? longString : QByteArray("m4242");
            EXPECT_EQ(catalogue->translation(original.constData()), QString::fromLatin1(longString));
        }
    }
}

struct LanguagesRow
{
    const char *locale;
    QStringList languages;
};

TEST(TranslationLanguagesTest, territoryThenLanguageWithoutTheCodeset)
{
    const LanguagesRow rows[] = {
        {"ru_RU.UTF-8", {"ru_RU", "ru"}},
        {"ru_RU", {"ru_RU", "ru"}},
        {"de", {"de"}},
        {"sr_RS.UTF-8@latin", {"sr_RS@latin", "sr_RS", "sr@latin", "sr"}},
        {"C", {}},
        {"C.UTF-8", {}},
        {"POSIX", {}},
        {"", {}},
    };
    for (const LanguagesRow &row : rows)
        EXPECT_EQ(Translation::languagesFor(QString::fromLatin1(row.locale)), row.languages) << row.locale;
}

struct LocalesRow
{
    const char *what;
    Translation::LocaleSettings settings; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG, system
    QStringList locales;
};

TEST(TranslationLanguagesTest, theLocalesComeInGettextsOrder)
{
    const LocalesRow rows[] = {
        {"LANG alone", {"", "", "", "ru_RU.UTF-8", "C"}, {"ru_RU.UTF-8"}},
        {"LC_ALL over LC_MESSAGES over LANG", {"", "de_DE", "fr_FR", "ru_RU", "C"}, {"de_DE"}},
        {"LC_MESSAGES over LANG", {"", "", "fr_FR", "ru_RU", "C"}, {"fr_FR"}},
        {"the system's locale last", {"", "", "", "", "ru_RU"}, {"ru_RU"}},
        {"LANGUAGE's list in its order", {"en:ru_RU::de", "", "", "ru_RU.UTF-8", "C"}, {"en", "ru_RU", "de"}},
        {"LANGUAGE over LC_ALL", {"en", "ru_RU.UTF-8", "", "", "C"}, {"en"}},
        {"LANG=C ignores LANGUAGE", {"en", "", "", "C", "ru_RU"}, {}},
        {"LC_ALL=POSIX over LANG", {"", "POSIX", "", "ru_RU.UTF-8", "C"}, {}},
        {"C.UTF-8", {"", "", "", "C.UTF-8", "ru_RU"}, {}},
        {"nothing set, C system", {"", "", "", "", "C"}, {}},
    };
    for (const LocalesRow &row : rows)
        EXPECT_EQ(Translation::wantedLocales(row.settings), row.locales) << row.what;
}

TEST(TranslationLanguagesTest, besideTheProgramComesBeforeTheInstalledShare)
{
    EXPECT_EQ(Translation::catalogueFolders(QStringLiteral("/opt/ondrix/bin")),
              QStringList({QStringLiteral("/opt/ondrix/bin/locale"), QStringLiteral("/opt/ondrix/share/locale")}));
}

} // namespace
