#include "serial/ComParity.h"

#include "serial/CustomComPort.h"

void TComParity::Assign(const TComParity &source)
{
    m_values = source.m_values;
    apply();
}

void TComParity::apply()
{
    ComPort().ApplyLineSettings();
}
