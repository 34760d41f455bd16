// The serial engine's messages and the setup dialog's captions through the translation
// runtime, with catalogues compiled for the test and the environment naming a locale that
// need not be generated on the machine (most machines generate only a few).

#include "runtime/Translation.h"
#include "serial/ComSetupFrm.h"
#include "serial/EComPort.h"
#include "tests/support/CatalogueCompiler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A catalogue of the serial domain whose texts all end in `mark`, to tell catalogues apart.
QByteArray serialCatalogue(const QByteArray &mark = {})
{
    QByteArray po = catalogueHeader();
    const std::pair<const char *, const char *> texts[] = {
        {"Unable to open com port", "Не удаётся открыть порт"},
        {" (win error code: %d)", " (код ошибки: %d)"},
        {"Setup", "Настройка"},
        {"Port", "Порт"},
        {"Cancel", "Отмена"},
    };
    for (const auto &[original, translated] : texts)
        po += "msgid \"" + QByteArray(original) + "\"\nmsgstr \"" + QByteArray(translated) + mark + "\"\n\n";
    return po;
}

class TranslationTest : public testing::Test
{
protected:
    TranslationTest()
    {
        for (const char *variable : {"LANGUAGE", "LANG", "LC_ALL", "LC_MESSAGES"}) {
            m_saved.emplace_back(variable, qgetenv(variable));
            qunsetenv(variable);
        }
    }

    ~TranslationTest() override
    {
        for (const auto &[variable, value] : m_saved)
            qputenv(variable, value);
        Translation::initialize(programDir()); // no catalogues: every text as written again
    }

    QString programDir() const { return root.filePath(QStringLiteral("bin")); }

    // Puts a serial catalogue for `language` into `folder` below the installation root.
    void install(const QString &folder, const QString &language, const QByteArray &mark = {})
    {
        ASSERT_TRUE(compileCatalogue(serialCatalogue(mark),
                                     root.filePath(folder + u'/' + language + "/LC_MESSAGES/ondrix-serial.mo")));
    }

    QString openError() const { return EComPort(EComPort::OpenFailed, 2).message(); }

    QTemporaryDir root;

private:
    std::vector<std::pair<const char *, QByteArray>> m_saved;
};

TEST_F(TranslationTest, theUsersLanguageTranslatesMessagesAndCaptions)
{
    install(QStringLiteral("bin/locale"), QStringLiteral("ru"));
    qputenv("LANG", "ru_RU.UTF-8");
    Translation::initialize(programDir());

    EXPECT_EQ(openError(), QStringLiteral("Не удаётся открыть порт (код ошибки: 2)"));
    EXPECT_EQ(EComPort::messageText(EComPort::ReadFailed), QStringLiteral("ReadFile function failed"))
        << "a text the catalogue lacks stays as written";
    TComSetupFrm dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Настройка"));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Порт"));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("OK"));
}

TEST_F(TranslationTest, withoutACatalogueOrUnderTheCLocaleTextsStayAsWritten)
{
    qputenv("LANG", "ru_RU.UTF-8");
    Translation::initialize(programDir());
    EXPECT_EQ(openError(), QStringLiteral("Unable to open com port (win error code: 2)"));
    EXPECT_EQ(TComSetupFrm().windowTitle(), QStringLiteral("Setup"));

    install(QStringLiteral("bin/locale"), QStringLiteral("ru"));
    for (const char *other : {"C.UTF-8", "POSIX", "de_DE.UTF-8"}) {
        qputenv("LANG", other);
        Translation::initialize(programDir());
        EXPECT_EQ(openError(), QStringLiteral("Unable to open com port (win error code: 2)")) << other;
    }
}

TEST_F(TranslationTest, aLanguageWithoutACatalogueFallsThroughToTheNextInLanguage)
{
    install(QStringLiteral("bin/locale"), QStringLiteral("ru"));
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LANGUAGE", "de:ru");
    Translation::initialize(programDir());
    EXPECT_EQ(openError(), QStringLiteral("Не удаётся открыть порт (код ошибки: 2)"));
}

TEST_F(TranslationTest, territoryBeforeLanguageBesideTheProgramBeforeTheInstallation)
{
    qputenv("LANG", "ru_RU.UTF-8");
    const auto translatedWith = [this](const char *mark) {
        Translation::initialize(programDir());
        return openError() == QStringLiteral("Не удаётся открыть порт") + QLatin1String(mark) + " (код ошибки: 2)"
                                  + QLatin1String(mark);
    };
    install(QStringLiteral("share/locale"), QStringLiteral("ru"), " [share ru]");
    EXPECT_TRUE(translatedWith(" [share ru]")) << "an installed program finds PREFIX/share/locale";
    install(QStringLiteral("share/locale"), QStringLiteral("ru_RU"), " [share ru_RU]");
    EXPECT_TRUE(translatedWith(" [share ru_RU]"));
    install(QStringLiteral("bin/locale"), QStringLiteral("ru"), " [beside ru]");
    EXPECT_TRUE(translatedWith(" [beside ru]"));
    install(QStringLiteral("bin/locale"), QStringLiteral("ru_RU"), " [beside ru_RU]");
    EXPECT_TRUE(translatedWith(" [beside ru_RU]"));
}

TEST_F(TranslationTest, aDamagedCatalogueIsPassedOverForTheNextOne)
{
    install(QStringLiteral("share/locale"), QStringLiteral("ru"));
    const QString damaged = root.filePath(QStringLiteral("bin/locale/ru/LC_MESSAGES/ondrix-serial.mo"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(damaged).absolutePath()));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a catalogue");
    file.close();
    qputenv("LANG", "ru_RU.UTF-8");
    Translation::initialize(programDir());
    EXPECT_EQ(openError(), QStringLiteral("Не удаётся открыть порт (код ошибки: 2)"));
}

} // namespace
