#pragma once

#include "app/Form1.h"
#include "serial/ComPort.h"
#include "tests/support/PtyPair.h"

#include <QCheckBox>

// The main window connected to a board on a pseudo-terminal, every bar and trace shown,
// as the end-to-end tests drive it. Deliveries are counted on their way to the window's
// own reception.
struct WindowOnBoard
{
    WindowOnBoard()
    {
        form.ComPort1->setPort(board.slavePath());
        for (QCheckBox *box : form.BarBox)
            box->setChecked(true);
        for (QCheckBox *box : form.TraceBox)
            box->setChecked(true);
        form.ComPort1->OnRxChar = [this, own = form.ComPort1->OnRxChar](TCustomComPort &sender, int count) {
            ++deliveries;
            own(sender, count);
        };
    }

    std::uint64_t readingsSeen() { return form.decoder().decodedCount() + form.decoder().droppedCount(); }

    PtyPair board;
    TForm1 form;
    int deliveries = 0;
};
