#include "ComComboBox.h"

#include "runtime/Application.h"
#include "serial/CustomComPort.h"
#include "serial/PortAddress.h"

#include <QSize>
#include <QStyledItemDelegate>

TComComboBox::TComComboBox(QWidget *parent) : QComboBox(parent)
{
    // `activated` comes from the operator only, never from a programmatic selection.
    connect(this, &QComboBox::activated, this, &TComComboBox::takePick);
}

TComComboBox::~TComComboBox()
{
    // QComboBox's own teardown may still notify; the selection must not hear of it.
    disconnect(this, nullptr, this, nullptr);
    if (m_select.comPort)
        disconnect(m_select.comPort, nullptr, this, nullptr);
}

void TComComboBox::setComPort(TCustomComPort *port)
{
    if (port == m_select.comPort)
        return;
    if (m_select.comPort)
        disconnect(m_select.comPort, nullptr, this, nullptr);
    m_select.comPort = port;
    if (!port)
        return;
    connect(port, &QObject::destroyed, this, &TComComboBox::unlinkPort);
    LoadFromPort();
}

void TComComboBox::setComProperty(TComProperty kind)
{
    m_select.comProperty = kind;
    const QStringList items = m_select.items();
    clear();
    addItems(items);
    applyItemHeight();
    if (items.isEmpty())
        return;
    if (m_select.comPort)
        LoadFromPort();
    else
        setCurrentIndex(0);
}

QString TComComboBox::Text() const
{
    return currentIndex() < 0 ? QString() : currentText();
}

void TComComboBox::setText(const QString &text)
{
    const int index = findText(text, Qt::MatchFixedString);
    if (index >= 0)
        setCurrentIndex(index);
}

void TComComboBox::LoadFromPort()
{
    const QString text = m_select.portText();
    // No system lists a port on the network: while it is the port, it is an item too.
    if (m_select.comProperty == cpPort && PortAddress::looksLikeAddress(text) && findText(text, Qt::MatchFixedString) < 0) {
        addItem(text);
        applyItemHeight();
    }
    const int index = findText(text, Qt::MatchFixedString);
    if (index >= 0)
        m_select.setValueFromText(itemText(index));
    setCurrentIndex(index);
}

void TComComboBox::ApplyToPort()
{
    m_select.applyToPort();
}

void TComComboBox::setItemHeight(int pixels)
{
    m_itemHeight = pixels;
    // The plain delegate honours each item's size hint; some styles' menu-like delegate
    // would not.
    if (!qobject_cast<QStyledItemDelegate *>(itemDelegate()))
        setItemDelegate(new QStyledItemDelegate(this));
    applyItemHeight();
}

void TComComboBox::applyItemHeight()
{
    if (m_itemHeight <= 0)
        return;
    for (int index = 0; index < count(); ++index)
        setItemData(index, QSize(0, m_itemHeight), Qt::SizeHintRole);
}

void TComComboBox::takePick()
{
    TApplication::guard([&] {
        m_select.setValueFromText(Text());
        if (m_select.autoApply)
            ApplyToPort();
        emit Change();
    });
}

void TComComboBox::unlinkPort()
{
    m_select.comPort = nullptr;
    if (count() > 0)
        setCurrentIndex(0);
}
