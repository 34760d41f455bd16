#include "serial/ComTimeouts.h"

#include "serial/CustomComPort.h"

void TComTimeouts::apply()
{
    ComPort().ApplyTimeoutSettings();
}
