#pragma once

#include "runtime/Color.h"

#include <QWidget>

#include "runtime/PanelBevel.h"

// A container that fills itself with one colour inside a raised edge. Its font (Tahoma,
// 11 pixels, window-text colour) is taken over by the children that keep their parent's
// font, such as check boxes placed on it.
class TAdvPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TAdvPanel(QWidget *parent = nullptr);

    TColor Color() const { return m_color; }
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    TPanelBevel BevelInner() const { return m_bevelInner; }
    int BevelWidth() const { return m_bevelWidth; }
    bool Buffered() const { return m_buffered; }
    static QString Version() { return QStringLiteral("1.7.6.0"); }

    // A system colour is looked up at every paint, so a change of the system colours
    // shows at the next one.
    void setColor(TColor color);
    void setBevelOuter(TPanelBevel bevel);
    void setBevelInner(TPanelBevel bevel);
    void setBevelWidth(int width);
    void setBuffered(bool buffered);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintPanel(QPainter &painter) const;
    template <typename T>
    void change(T &field, T value);

    TColor m_color = clBtnFace;
    TPanelBevel m_bevelOuter = bvRaised;
    TPanelBevel m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    bool m_buffered = true;
};
