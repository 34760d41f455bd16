#include "app/Form2.h"

#include "app/FormLook.h"
#include "runtime/Application.h"
#include "runtime/JpegDecoder.h"
#include "runtime/Translation.h"

#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

const QString TForm2::email = QStringLiteral("ondrix@example.org");
const QString TForm2::webPage = QStringLiteral("https://ondrix.example.org/");

namespace {

QLabel *makeLabel(const QString &text, QWidget *parent, QPoint topLeft, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->move(topLeft);
    label->adjustSize(); // labels size themselves to their text
    return label;
}

// The picture built into the program from assets/about.jpg; empty if it cannot be read.
QPixmap aboutPicture()
{
    QFile file(QStringLiteral(":/about/about.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(JpegDecoder::decode(file.readAll()));
}

} // namespace

TForm2::TForm2(QWidget *parent) : QWidget(parent), m_openUrl(QDesktopServices::openUrl)
{
    setWindowTitle(Translation::appText("О програме"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    // Qt would count it as a last window and keep the program alive behind it once the
    // main window is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(683, 192);
    applyFormLook(*this);

    Image1 = new QLabel(this);
    Image1->setGeometry(384, 0, 300, 191);
    Image1->setPixmap(aboutPicture());
    Label1 = makeLabel(Translation::appText("Ondrix developers"), this, QPoint(8, 64),
                       pixelFont(QStringLiteral("MS Sans Serif"), 32, true));
    Label3 = makeLabel(Translation::appText("Ondrix v. 1.0"), this, QPoint(8, 8),
                       pixelFont(QStringLiteral("OCR A Extended"), 37, true));
    Label2 = makeLinkLabel(Translation::appText("E-mail: %1").arg(email), QPoint(8, 112));
    Label4 = makeLinkLabel(Translation::appText("Web: %1").arg(webPage), QPoint(8, 152));
}

QLabel *TForm2::makeLinkLabel(const QString &text, QPoint topLeft)
{
    // Only the hand shows that the line can be clicked: no colour, no underline.
    QLabel *label = makeLabel(text, this, topLeft, pixelFont(QStringLiteral("MS Sans Serif"), 19, true));
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    return label;
}

void TForm2::setVisible(bool visible)
{
    if (visible && !isVisible())
        centreOnScreen();
    QWidget::setVisible(visible);
}

void TForm2::centreOnScreen()
{
    create(); // the platform knows the frame's size once the window exists
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->geometry().center());
    move(frame.topLeft());
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    // A label is clicked when the left button goes up over it; Qt sends the release to
    // the label the press was on.
    if (event->type() == QEvent::MouseButtonRelease && (watched == Label2 || watched == Label4)) {
        const auto *release = static_cast<QMouseEvent *>(event);
        auto *label = static_cast<QLabel *>(watched);
        if (release->button() == Qt::LeftButton && label->rect().contains(release->position().toPoint())) {
            TApplication::guard([&] {
                if (watched == Label2)
                    Label2Click();
                else
                    Label4Click();
            });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm2::Label2Click()
{
    m_openUrl(QUrl(QStringLiteral("mailto:") + email));
}

void TForm2::Label4Click()
{
    m_openUrl(QUrl(webPage));
}
