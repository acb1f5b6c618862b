#pragma once

#include <functional>

class QWidget;

namespace dravik {

// Runs `work` once, from the event loop, as soon as the shown window's first frame is on the screen:
// what that frame does not show waits until it is there. The window's own expose is watched, not its
// paint events, which an opaque child can take whole. Should no expose come (a window never mapped),
// the work runs after a short while all the same.
void runAfterFirstFrame(QWidget* window, std::function<void()> work);

} // namespace dravik
