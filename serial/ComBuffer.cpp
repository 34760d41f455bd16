#include "serial/ComBuffer.h"

#include "serial/CustomComPort.h"

void TComBuffer::changeSize(int &field, int value)
{
    if (field == value)
        return;
    field = value > 0 && value % 2 != 0 ? value - 1 : value;
    apply();
}

void TComBuffer::apply()
{
    ComPort().ApplyBufferSizes();
}
