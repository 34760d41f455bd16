#include "app/Form1.h"
#include "app/Form2.h"
#include "runtime/Color.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

namespace {

bool near(QColor actual, QColor expected)
{
    constexpr int tolerance = 24; // JPEG is lossy
    return std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QPoint screenCentre(const QWidget &window)
{
    return window.screen()->geometry().center();
}

// The main window with its about window, wired as the program wires them.
class AboutWindowTest : public testing::Test
{
protected:
    AboutWindowTest() { form1.setAboutWindow(&form2); }

    TForm1 form1;
    TForm2 form2;
};

TEST_F(AboutWindowTest, isTheDesignedDialog)
{
    EXPECT_EQ(form2.windowTitle(), QStringLiteral("О програме"));
    EXPECT_EQ(form2.size(), QSize(683, 192));
    EXPECT_EQ(form2.minimumSize(), form2.maximumSize()) << "fixed size";
    const Qt::WindowFlags flags = form2.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form2.palette().color(QPalette::Window), toQColor(clBtnFace));
    EXPECT_FALSE(form2.isVisible()) << "created hidden";
    EXPECT_FALSE(form2.testAttribute(Qt::WA_QuitOnClose));

    EXPECT_EQ(form2.Label3->text(), QStringLiteral("Ondrix v. 1.0"));
    EXPECT_EQ(form2.Label3->pos(), QPoint(8, 8));
    EXPECT_EQ(form2.Label1->pos(), QPoint(8, 64));
    EXPECT_EQ(form2.Label2->text(), QStringLiteral("E-mail: ") + TForm2::email);
    EXPECT_EQ(form2.Label4->text(), QStringLiteral("Web: ") + TForm2::webPage);
    for (const QLabel *label : {form2.Label1, form2.Label2, form2.Label3, form2.Label4}) {
        EXPECT_LE(label->geometry().right(), form2.Image1->x()) << label->text().toStdString() << " fits beside the picture";
        EXPECT_EQ(label->palette().color(QPalette::WindowText), toQColor(clWindowText));
    }
    for (const QLabel *link : {form2.Label2, form2.Label4}) {
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_FALSE(link->font().underline());
        EXPECT_EQ(link->font().pixelSize(), 19);
        EXPECT_TRUE(link->font().bold());
    }
}

TEST_F(AboutWindowTest, nameIsInOcrAOrElseABoldMonospacedFont)
{
    const QFontInfo shown(form2.Label3->font());
    EXPECT_EQ(shown.family(), QStringLiteral("OCRA")) << "fonts-ocr-a is installed by scripts/install-deps.sh";
    EXPECT_TRUE(shown.bold());

    QFont fallback = form2.Label3->font();
    fallback.setFamilies(QFont::substitutes(QStringLiteral("OCR A Extended")).mid(1));
    const QFontInfo withoutOcrA(fallback);
    EXPECT_TRUE(withoutOcrA.fixedPitch()) << withoutOcrA.family().toStdString();
    EXPECT_TRUE(withoutOcrA.bold());
}

TEST_F(AboutWindowTest, showsTheBuiltInPicture)
{
    QFile resource(QStringLiteral(":/about/about.jpg"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray jpeg = resource.readAll();
    // Baseline frame header: precision 8, height 191, width 300, three components.
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    EXPECT_EQ(jpeg.mid(frame + 4, 6), QByteArray("\x08\x00\xBF\x01\x2C\x03", 6));
    EXPECT_EQ(jpeg.indexOf("\xFF\xC2"), -1) << "not progressive";

    EXPECT_EQ(form2.Image1->geometry(), QRect(384, 0, 300, 191));
    const QImage picture = form2.Image1->pixmap().toImage();
    ASSERT_EQ(picture.size(), QSize(300, 191));
    struct Row { const char *what; QPoint at; QColor colour; };
    const Row rows[] = {
        {"silver margin", {2, 2}, QColor(192, 192, 192)},
        {"white plot", {12, 12}, Qt::white},
        {"ADC0 bar", {237, 170}, Qt::black},
        {"ADC1 bar", {247, 170}, Qt::red},
        {"ADC2 bar", {257, 170}, Qt::green},
        {"ADC3 bar", {267, 170}, QColor(128, 64, 64)},
        {"ADC4 bar", {277, 170}, QColor(64, 128, 128)},
        {"ADC5 bar", {287, 170}, Qt::blue},
    };
    for (const Row &row : rows)
        EXPECT_TRUE(near(picture.pixelColor(row.at), row.colour))
            << row.what << ": " << picture.pixelColor(row.at).name().toStdString();
}

TEST_F(AboutWindowTest, aboutButtonShowsTheOneWindowCentredOrBringsItToTheFront)
{
    form1.show();
    form2.move(5, 5);
    form1.Button9->click();
    ASSERT_TRUE(form2.isVisible());
    EXPECT_EQ(form2.frameGeometry().center(), screenCentre(form2));

    form2.move(20, 30); // the operator moved it
    form1.Button9->click();
    int shown = 0;
    for (const QWidget *window : QApplication::topLevelWidgets())
        shown += qobject_cast<const TForm2 *>(window) && window->isVisible();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form2.pos(), QPoint(20, 30)) << "already shown: only brought to the front";

    form2.close();
    EXPECT_FALSE(form2.isVisible()) << "its close button hides it";
    form1.Button9->click();
    EXPECT_TRUE(form2.isVisible());
    EXPECT_EQ(form2.frameGeometry().center(), screenCentre(form2)) << "centred again on every show";
}

TEST_F(AboutWindowTest, linesOpenTheAddressesAndAFailureChangesNothing)
{
    std::vector<QUrl> opened;
    form2.setUrlOpener([&](const QUrl &url) {
        opened.push_back(url);
        return false; // nothing registered for it
    });
    form1.Button9->click();

    QTest::mouseClick(form2.Label2, Qt::LeftButton);
    QTest::mouseClick(form2.Label4, Qt::LeftButton);
    QTest::mouseClick(form2.Label4, Qt::RightButton);
    QTest::mouseClick(form2.Label1, Qt::LeftButton);
    QTest::mousePress(form2.Label2, Qt::LeftButton);
    QTest::mouseRelease(form2.Label2, Qt::LeftButton, {}, QPoint(-5, -5));

    const std::vector<QUrl> expected = {QUrl(QStringLiteral("mailto:ondrix@example.org")),
                                        QUrl(QStringLiteral("https://ondrix.example.org/"))};
    EXPECT_EQ(opened, expected);
    EXPECT_TRUE(form2.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no message for a failure";
}

TEST_F(AboutWindowTest, closingTheMainWindowEndsTheProgramWhileItIsShown)
{
    form1.show();
    form1.Button9->click();
    ASSERT_TRUE(form2.isVisible());
    QTimer::singleShot(0, &form1, &QWidget::close);
    // A program kept alive by the about window never returns from exec; the watchdog
    // turns that into a failure instead of a hung test.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(30000);
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
