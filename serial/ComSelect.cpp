#include "ComSelect.h"

#include "serial/CustomComPort.h"
#include "serial/PortList.h"

namespace {

template <typename Enum, typename ToText>
QStringList textForms(int count, ToText toText)
{
    QStringList items;
    for (int value = 0; value < count; ++value)
        items.append(toText(static_cast<Enum>(value)));
    return items;
}

} // namespace

QStringList TComSelect::items() const
{
    switch (comProperty) {
    case cpNone:
        return {};
    case cpPort: {
        QStringList ports;
        ListSerialPorts(ports);
        return ports;
    }
    case cpBaudRate:
        return textForms<TBaudRate>(BaudRateCount, BaudRateToText);
    case cpDataBits:
        return textForms<TDataBits>(DataBitsCount, DataBitsToText);
    case cpStopBits:
        return textForms<TStopBits>(StopBitsCount, StopBitsToText);
    case cpParity:
        return textForms<TParityBits>(ParityBitsCount, ParityToText);
    case cpFlowControl:
        return textForms<TFlowControl>(FlowControlCount, FlowControlToText);
    }
    return {};
}

QString TComSelect::portText() const
{
    if (!comPort)
        return {};
    switch (comProperty) {
    case cpNone:
        return {};
    case cpPort:
        return comPort->Port();
    case cpBaudRate:
        return BaudRateToText(comPort->BaudRate());
    case cpDataBits:
        return DataBitsToText(comPort->DataBits());
    case cpStopBits:
        return StopBitsToText(comPort->StopBits());
    case cpParity:
        return ParityToText(comPort->Parity().Bits());
    case cpFlowControl:
        return FlowControlToText(comPort->FlowControl().FlowControl());
    }
    return {};
}

void TComSelect::setValueFromText(const QString &text)
{
    switch (comProperty) {
    case cpNone:
        break;
    case cpPort:
        portValue = text;
        break;
    case cpBaudRate:
        baudRate = TextToBaudRate(text);
        break;
    case cpDataBits:
        dataBits = TextToDataBits(text);
        break;
    case cpStopBits:
        stopBits = TextToStopBits(text);
        break;
    case cpParity:
        parity = TextToParity(text);
        break;
    case cpFlowControl:
        flowControl = TextToFlowControl(text);
        break;
    }
}

void TComSelect::applyToPort() const
{
    if (!comPort)
        return;
    switch (comProperty) {
    case cpNone:
        break;
    case cpPort:
        if (!portValue.isEmpty())
            comPort->setPort(portValue);
        break;
    case cpBaudRate:
        comPort->setBaudRate(baudRate);
        break;
    case cpDataBits:
        comPort->setDataBits(dataBits);
        break;
    case cpStopBits:
        comPort->setStopBits(stopBits);
        break;
    case cpParity:
        comPort->Parity().setBits(parity);
        break;
    case cpFlowControl:
        comPort->FlowControl().setFlowControl(flowControl);
        break;
    }
}
