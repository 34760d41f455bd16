#pragma once

#include "serial/ComSelect.h"

#include <QComboBox>

class TCustomComPort;

// A drop-down list bound to one setting of a port: it offers that setting's text forms,
// shows the port's current value, and writes the operator's pick back into the port,
// at once with AutoApply or when ApplyToPort is called.
class TComComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TComComboBox(QWidget *parent = nullptr);
    ~TComComboBox() override;

    TCustomComPort *ComPort() const { return m_select.comPort; }
    // Links a port (not owned) and shows its value; the link ends by itself when the
    // port is destroyed.
    void setComPort(TCustomComPort *port);

    TComProperty ComProperty() const { return m_select.comProperty; }
    // Rebuilds the items for the kind; the port list raises EComPort code 23 when the
    // system cannot be asked.
    void setComProperty(TComProperty kind);

    bool AutoApply() const { return m_select.autoApply; }
    void setAutoApply(bool value) { m_select.autoApply = value; }

    // The selected item's text; empty with no selection.
    QString Text() const;
    // Selects the item with this text (letter case ignored); other texts change nothing.
    void setText(const QString &text);

    // Selects the item for the port's current value and takes that value; when no item
    // matches, nothing is selected and the chosen value stays as it was.
    void LoadFromPort();
    void ApplyToPort();

    // Height of one item in the drop-down, in pixels; 0 leaves it to the style.
    void setItemHeight(int pixels);

    // The value chosen so far.
    const TComSelect &selection() const { return m_select; }

signals:
    // After an item picked by the operator has been taken (and applied with AutoApply).
    void Change();

private:
    void takePick();
    void unlinkPort();
    void applyItemHeight();

    TComSelect m_select;
    int m_itemHeight = 0;
};
