#pragma once

#include "serial/CustomComPort.h"

// The serial port component as the windows use it.
class TComPort : public TCustomComPort
{
    Q_OBJECT

public:
    using TCustomComPort::TCustomComPort;

    // The modal setup dialog for this port's line settings.
    void ShowPortSetup();
};
