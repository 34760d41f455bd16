#pragma once

class TCustomComPort;

// The line the board is wired for, as the window and the recorder both open it: 9600
// baud, 8N1, RTS/CTS, the events the window listens to, and reads that end 10 ms after
// the last byte. Leaves the port's name as it was.
class BoardLine
{
public:
    static void applyDefaults(TCustomComPort &port);
};
