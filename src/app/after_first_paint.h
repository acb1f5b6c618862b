#pragma once

#include <functional>

class QWidget;

namespace dravik {

// Runs `work` once, from the event loop, as soon as the window has been painted for the first time:
// what the first frame does not show waits until that frame is on the screen. Should no paint come
// (a window never exposed), it runs after a short while all the same.
void runAfterFirstPaint(QWidget* window, std::function<void()> work);

} // namespace dravik
