#pragma once

#include "serial/ComSettings.h"

#include <QString>
#include <QStringList>

class TCustomComPort;

// Which setting of a port a selection list shows.
enum TComProperty { cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl };

// What a selection list has chosen for its setting, kept apart from the list widget so
// that the value and its way to and from the port do not depend on the widget's state.
struct TComSelect
{
    TComProperty comProperty = cpNone;
    QString portValue;
    TBaudRate baudRate = brCustom;
    TDataBits dataBits = dbFive;
    TStopBits stopBits = sbOneStopBit;
    TParityBits parity = prNone;
    TFlowControl flowControl = fcHardware;
    TCustomComPort *comPort = nullptr;   // linked, not owned
    bool autoApply = false;

    // The items a list of this kind offers, in order; the port list asks the system.
    QStringList items() const;

    // The text form of the linked port's current value for this kind; empty when no
    // port is linked or the kind is cpNone.
    QString portText() const;

    // Stores the value an item text stands for (the text itself for cpPort).
    void setValueFromText(const QString &text);

    // Writes the value into the linked port through the setting's setter. An empty port
    // name is never written: it only means that no port was ever chosen.
    void applyToPort() const;
};
