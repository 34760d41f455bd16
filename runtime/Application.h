#pragma once

#include <QString>
#include <exception>
#include <stdexcept>
#include <utility>

// The application object's share of the program: its title and the error box that
// every handler run from the message loop falls back on.
class TApplication
{
public:
    // The title for a program file: no folder, cut at the first ".", every letter after
    // the first in lower case ("C:/x/MONITOR.EXE" gives "Monitor").
    static QString titleFromFileName(const QString &path);

    // Fixed once from the running program's file name.
    static QString title();

    // An error's message as the error box shows it: a "." is added when the last
    // character sorts after ".".
    static QString errorBoxText(const QString &message);

    // The forms name Windows fonts; these stand-ins have about their metrics, so the
    // designed positions still fit the text.
    static void substituteDesignFonts();

    // Called before the application object is made: how the window's frames reach an X
    // server. Qt's X11 backing store hands them over in shared memory, and before it
    // paints over a part that the server may still be reading it waits for a round trip
    // to the server. The window repaints a few small strips up to a thousand times a
    // second, and those waits cost more than sending the strips' pixels in the requests
    // themselves, so shared memory is left out (QT_XCB_NO_MITSHM). The picture is the same.
    static void prepareWindowSystem();

    // Report error: releases a mouse grab, then shows the error box unless the error
    // is silent (EAbort).
    static void ShowException(const std::exception &error);

    // Runs a handler so that no exception crosses Qt's event dispatch: whatever escapes
    // is reported and the loop goes on with the next event.
    template <typename Handler>
    static void guard(Handler &&handler) noexcept
    {
        try {
            std::forward<Handler>(handler)();
        } catch (const std::exception &error) {
            ShowException(error);
        } catch (...) {
            ShowException(std::runtime_error("Unknown error"));
        }
    }
};
