#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QUrl;

// The about window: the program's name and version, the maker's credit, two clickable
// lines for the maker's e-mail and web page, and a picture. Created hidden at start-up
// and kept until the program ends: its close button only hides it, and it is centred
// on the screen each time it is shown. It never keeps the program running on its own.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    // Hands an address to the desktop's handler for it; the answer is not looked at.
    using UrlOpener = std::function<bool(const QUrl &)>;

    static const QString email;
    static const QString webPage;

    explicit TForm2(QWidget *parent = nullptr);

    // The desktop's own opener unless replaced.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    void setVisible(bool visible) override;

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label4 = nullptr;

    void Label2Click();
    void Label4Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *makeLinkLabel(const QString &text, QPoint topLeft);
    void centreOnScreen();

    UrlOpener m_openUrl;
};
