#pragma once

#include "storage/error.h"

#include <utility>

namespace dravik::ui {

// The default error handling for one handler: the error box, owned by the active window.
void showHandlerError(const Error& error);

// A handler for a connection to a Qt signal: an error ends it here and is shown in the error box.
// Qt's GUI and widget libraries are built without exception support, so an error that passed through
// their frames on its way to the application's notify() would skip their clean-up: the events, guards
// and button states they hold on the stack would leak or stay half-changed.
template <typename Handler> auto guarded(Handler handler) {
    return [handler = std::move(handler)]() {
        try {
            handler();
        } catch (const Error& error) {
            showHandlerError(error);
        }
    };
}

} // namespace dravik::ui
