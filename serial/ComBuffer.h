#pragma once

#include "serial/ComSettingsGroup.h"

// The plain values of the group.
struct ComBufferValues
{
    int InputSize = 1024;
    int OutputSize = 1024;
};

// The driver's receive and transmit queue sizes in bytes. A positive odd size is
// stored one lower.
class TComBuffer : public ComSettingsGroup<ComBufferValues>
{
public:
    explicit TComBuffer(TCustomComPort &port) : ComSettingsGroup(port) {}

    int InputSize() const { return m_values.InputSize; }
    int OutputSize() const { return m_values.OutputSize; }

    void setInputSize(int value) { changeSize(m_values.InputSize, value); }
    void setOutputSize(int value) { changeSize(m_values.OutputSize, value); }

protected:
    void apply() override;

private:
    void changeSize(int &field, int value);
};
