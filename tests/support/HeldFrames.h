#pragma once

class FrameGate;

// Lets the frames a window's gate holds be painted, and those such a paint asks for
// through Qt's posted events (a legend box that grew): true after a few passes of the
// event loop with no frame held, false when one stays held for seconds.
bool paintHeldFrames(const FrameGate &gate);
