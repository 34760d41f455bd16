#include "serial/ComParity.h"

#include "serial/CustomComPort.h"

void TComParity::apply()
{
    ComPort().ApplyLineSettings();
}
