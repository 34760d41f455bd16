#include "serial/ComTimeouts.h"

#include "serial/CustomComPort.h"

void TComTimeouts::Assign(const TComTimeouts &source)
{
    m_values = source.m_values;
    apply();
}

void TComTimeouts::apply()
{
    ComPort().ApplyTimeoutSettings();
}
