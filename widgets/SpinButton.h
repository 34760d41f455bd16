#pragma once

#include <QImage>
#include <QWidget>

class TTimerSpeedButton;

// The pair of arrow buttons at the right of a spin field: the up arrow over the top
// half, the down arrow from one pixel above the up arrow's end to the bottom. Each arrow
// repeats its click while held (see TTimerSpeedButton). The arrows never take the
// keyboard focus.
class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit TSpinButton(QWidget *parent = nullptr);

    TTimerSpeedButton *upButton() const { return m_up; }
    TTimerSpeedButton *downButton() const { return m_down; }

    // The arrows' 9 x 6 pictures, from the program's resources, with their olive
    // background made transparent.
    QImage UpGlyph() const { return m_upGlyph; }
    QImage DownGlyph() const { return m_downGlyph; }

signals:
    // An arrow was pressed with the mouse (before any click).
    void arrowPressed();
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TTimerSpeedButton *makeArrow(const QImage &glyph);

    QImage m_upGlyph;
    QImage m_downGlyph;
    TTimerSpeedButton *m_up;
    TTimerSpeedButton *m_down;
};
