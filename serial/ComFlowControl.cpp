#include "serial/ComFlowControl.h"

#include "serial/CustomComPort.h"

TFlowControl TComFlowControl::FlowControl() const
{
    const ComFlowControlValues &v = m_values;
    if (v.ControlRTS == rtsHandshake && v.OutCTSFlow && !v.XonXoffIn && !v.XonXoffOut)
        return fcHardware;
    if (v.ControlRTS == rtsDisable && !v.OutCTSFlow && v.XonXoffIn && v.XonXoffOut)
        return fcSoftware;
    if (v.ControlRTS == rtsDisable && !v.OutCTSFlow && !v.XonXoffIn && !v.XonXoffOut)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::setFlowControl(TFlowControl preset)
{
    if (preset != fcCustom) {
        m_values.ControlRTS = preset == fcHardware ? rtsHandshake : rtsDisable;
        m_values.OutCTSFlow = preset == fcHardware;
        m_values.XonXoffIn = preset == fcSoftware;
        m_values.XonXoffOut = preset == fcSoftware;
    }
    apply();
}

void TComFlowControl::apply()
{
    ComPort().ApplyLineSettings();
}
