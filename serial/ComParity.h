#pragma once

#include "serial/ComSettings.h"
#include "serial/ComSettingsGroup.h"

// The plain values of the group.
struct ComParityValues
{
    TParityBits Bits = prNone;
    bool Check = false;
    bool Replace = false;
    char ReplaceChar = 0;
};

// Parity kind and what the driver does with characters that fail the check.
class TComParity : public ComSettingsGroup<ComParityValues>
{
public:
    explicit TComParity(TCustomComPort &port) : ComSettingsGroup(port) {}

    TParityBits Bits() const { return m_values.Bits; }
    bool Check() const { return m_values.Check; }
    bool Replace() const { return m_values.Replace; }
    char ReplaceChar() const { return m_values.ReplaceChar; }

    void setBits(TParityBits value) { change(m_values.Bits, value); }
    void setCheck(bool value) { change(m_values.Check, value); }
    void setReplace(bool value) { change(m_values.Replace, value); }
    void setReplaceChar(char value) { change(m_values.ReplaceChar, value); }

protected:
    void apply() override;
};
