#include "ui/handler_guard.h"

#include "ui/dialogs.h"

namespace dravik::ui {

void showHandlerError(const Error& error) {
    // The box goes over whatever window is active.
    dialogs::showError(nullptr, error.message());
}

} // namespace dravik::ui
