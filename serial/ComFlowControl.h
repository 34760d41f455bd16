#pragma once

#include "serial/ComSettings.h"
#include "serial/ComSettingsGroup.h"

// The plain values of the group.
struct ComFlowControlValues
{
    bool OutCTSFlow = false;
    bool OutDSRFlow = false;
    TDTRFlowControl ControlDTR = dtrDisable;
    TRTSFlowControl ControlRTS = rtsDisable;
    bool XonXoffOut = false;
    bool XonXoffIn = false;
    bool DSRSensitivity = false;
    bool TxContinueOnXoff = false;
    char XonChar = 17;
    char XoffChar = 19;
};

// Handshake lines and XON/XOFF. FlowControl() is a preset view computed from
// ControlRTS, OutCTSFlow, XonXoffIn and XonXoffOut; it is never stored.
class TComFlowControl : public ComSettingsGroup<ComFlowControlValues>
{
public:
    explicit TComFlowControl(TCustomComPort &port) : ComSettingsGroup(port) {}

    TFlowControl FlowControl() const;
    // Any preset but fcCustom first clears the four preset fields, then sets its own;
    // the line settings are re-applied in every case.
    void setFlowControl(TFlowControl preset);

    bool OutCTSFlow() const { return m_values.OutCTSFlow; }
    bool OutDSRFlow() const { return m_values.OutDSRFlow; }
    TDTRFlowControl ControlDTR() const { return m_values.ControlDTR; }
    TRTSFlowControl ControlRTS() const { return m_values.ControlRTS; }
    bool XonXoffOut() const { return m_values.XonXoffOut; }
    bool XonXoffIn() const { return m_values.XonXoffIn; }
    bool DSRSensitivity() const { return m_values.DSRSensitivity; }
    bool TxContinueOnXoff() const { return m_values.TxContinueOnXoff; }
    char XonChar() const { return m_values.XonChar; }
    char XoffChar() const { return m_values.XoffChar; }

    void setOutCTSFlow(bool value) { change(m_values.OutCTSFlow, value); }
    void setOutDSRFlow(bool value) { change(m_values.OutDSRFlow, value); }
    void setControlDTR(TDTRFlowControl value) { change(m_values.ControlDTR, value); }
    void setControlRTS(TRTSFlowControl value) { change(m_values.ControlRTS, value); }
    void setXonXoffOut(bool value) { change(m_values.XonXoffOut, value); }
    void setXonXoffIn(bool value) { change(m_values.XonXoffIn, value); }
    void setDSRSensitivity(bool value) { change(m_values.DSRSensitivity, value); }
    void setTxContinueOnXoff(bool value) { change(m_values.TxContinueOnXoff, value); }
    void setXonChar(char value) { change(m_values.XonChar, value); }
    void setXoffChar(char value) { change(m_values.XoffChar, value); }

protected:
    void apply() override;
};
