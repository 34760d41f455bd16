#pragma once

#include "serial/ComSettingsGroup.h"

// The plain values of the group.
struct ComTimeoutsValues
{
    int ReadInterval = -1;
    int ReadTotalMultiplier = 0;
    int ReadTotalConstant = 0;
    int WriteTotalMultiplier = 100;
    int WriteTotalConstant = 1000;
};

// Read and write time-outs in milliseconds; the multipliers are milliseconds per byte.
// ReadInterval -1 with both read totals 0 makes a read return at once.
class TComTimeouts : public ComSettingsGroup<ComTimeoutsValues>
{
public:
    explicit TComTimeouts(TCustomComPort &port) : ComSettingsGroup(port) {}

    int ReadInterval() const { return m_values.ReadInterval; }
    int ReadTotalMultiplier() const { return m_values.ReadTotalMultiplier; }
    int ReadTotalConstant() const { return m_values.ReadTotalConstant; }
    int WriteTotalMultiplier() const { return m_values.WriteTotalMultiplier; }
    int WriteTotalConstant() const { return m_values.WriteTotalConstant; }

    void setReadInterval(int value) { change(m_values.ReadInterval, value); }
    void setReadTotalMultiplier(int value) { change(m_values.ReadTotalMultiplier, value); }
    void setReadTotalConstant(int value) { change(m_values.ReadTotalConstant, value); }
    void setWriteTotalMultiplier(int value) { change(m_values.WriteTotalMultiplier, value); }
    void setWriteTotalConstant(int value) { change(m_values.WriteTotalConstant, value); }

protected:
    void apply() override;
};
