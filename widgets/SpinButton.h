#pragma once

#include <QWidget>

class QToolButton;

// The pair of arrow buttons at the right of a spin field: the up arrow over the top
// half, the down arrow from one pixel above the up arrow's end to the bottom. Each
// arrow repeats its click while held (first after 400 ms, then every 100 ms) and gives
// one more click on release over it. The arrows never take the keyboard focus.
class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit TSpinButton(QWidget *parent = nullptr);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    // An arrow was pressed with the mouse (before any click).
    void arrowPressed();
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *makeArrow(bool up);

    QToolButton *m_up;
    QToolButton *m_down;
};
