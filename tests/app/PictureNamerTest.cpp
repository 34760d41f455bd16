#include "app/PictureNamer.h"
#include "runtime/Exception.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate day(2026, 12, 8);

struct DateRow
{
    const char *name;
    QLocale locale;
    QDate date;
    const char *expected;
};

class DateText : public testing::TestWithParam<DateRow>
{
};

TEST_P(DateText, keepsTheLocalesShortFormButNeverASlash)
{
    const DateRow &row = GetParam();
    EXPECT_EQ(PictureNamer::dateText(row.date, row.locale), QString::fromLatin1(row.expected));
}

// The C locale (and POSIX) would write "8 Dec 2026": an ISO date instead.
INSTANTIATE_TEST_SUITE_P(
    Rows, DateText,
    testing::Values(DateRow{"Russian", QLocale(QLocale::Russian, QLocale::Russia), day, "08.12.2026"},
                    DateRow{"UnitedStatesSlashes", QLocale(QLocale::English, QLocale::UnitedStates), day, "12-8-26"},
                    DateRow{"UnitedStatesOneDigit", QLocale(QLocale::English, QLocale::UnitedStates), QDate(2027, 1, 2), "1-2-27"},
                    DateRow{"BritishSlashes", QLocale(QLocale::English, QLocale::UnitedKingdom), day, "08-12-2026"},
                    DateRow{"German", QLocale(QLocale::German, QLocale::Germany), QDate(2027, 1, 2), "02.01.27"},
                    DateRow{"C", QLocale::c(), day, "2026-12-08"},
                    DateRow{"Posix", QLocale(QStringLiteral("POSIX")), QDate(2027, 1, 2), "2027-01-02"}),
    [](const testing::TestParamInfo<DateRow> &testInfo) { return std::string(testInfo.param.name); });

TEST(PictureNamerTest, seriesNamesCarryTheCountLeft)
{
    const QString date = PictureNamer::dateText(day);
    EXPECT_EQ(PictureNamer::seriesName(QStringLiteral("/data"), 5, day), "/data/5_" + date + ".bmp");
    EXPECT_EQ(PictureNamer::seriesName(QStringLiteral("/data"), -1, day), "/data/-1_" + date + ".bmp");
}

TEST(PictureNamerTest, aSeriesReplacesOnlyTheNamesItWritesThatDay)
{
    const QString date = PictureNamer::dateText(day);
    const struct
    {
        QString entry;
        bool replaced; // by a series of 3: names 2, 1 and 0
    } rows[] = {
        {"2_" + date + ".bmp", true},
        {"0_" + date + ".bmp", true},
        {"3_" + date + ".bmp", false},
        {"02_" + date + ".bmp", false},
        {"2_" + date + ".bmp.part", false},
        {"one_2_" + date + ".bmp", false},
        {"2_" + PictureNamer::dateText(day.addDays(1)) + ".bmp", false},
    };
    for (const auto &row : rows) {
        QTemporaryDir folder;
        QFile(folder.filePath(row.entry)).open(QIODevice::WriteOnly);
        EXPECT_EQ(PictureNamer::seriesReplaces(folder.path(), 3, day), row.replaced) << row.entry.toStdString();
    }
    QTemporaryDir folder;
    EXPECT_FALSE(PictureNamer::seriesReplaces(folder.path(), 3, day));
    ASSERT_TRUE(QFile::link(folder.filePath("nowhere"), folder.filePath("1_" + date + ".bmp")));
    EXPECT_TRUE(PictureNamer::seriesReplaces(folder.path(), 3, day)) << "a dangling link is replaced too";
}

TEST(PictureNamerTest, singleNamesAreRandomInRangeAndNeverTaken)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    PictureNamer namer(1234);
    const QString prefix = folder.path() + "/one_";
    const QString suffix = "_" + PictureNamer::dateText(day) + ".bmp";
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString name = namer.singleName(folder.path(), day);
        ASSERT_TRUE(name.startsWith(prefix) && name.endsWith(suffix)) << name.toStdString();
        bool ok = false;
        const int r = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size()).toInt(&ok);
        EXPECT_TRUE(ok && r >= 0 && r < PictureNamer::randomRange) << name.toStdString();
        EXPECT_FALSE(seen.contains(name)) << "names are created, so none may come twice";
        seen.insert(name);
        QFile(name).open(QIODevice::WriteOnly);
    }
}

TEST(PictureNamerTest, twoNamersWithTheSameSeedDrawTheSameNamesElsewhereDifferent)
{
    PictureNamer a(7), b(7), c(8);
    QStringList fromA, fromB, fromC;
    for (int i = 0; i < 5; ++i) {
        fromA << a.singleName(QStringLiteral("/nonexistent"), day);
        fromB << b.singleName(QStringLiteral("/nonexistent"), day);
        fromC << c.singleName(QStringLiteral("/nonexistent"), day);
    }
    EXPECT_EQ(fromA, fromB);
    EXPECT_NE(fromA, fromC);
}

TEST(PictureNamerTest, aLinkUnderASingleNameMakesItTakenEvenWhenDangling)
{
    QTemporaryDir folder;
    PictureNamer twin(99);
    const QString first = twin.singleName(folder.path(), day);
    const QString second = twin.singleName(folder.path(), day);
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("nowhere")), first));
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/hostname"), second));

    PictureNamer namer(99);
    const QString name = namer.singleName(folder.path(), day);
    EXPECT_NE(name, first);
    EXPECT_NE(name, second);
}

} // namespace
