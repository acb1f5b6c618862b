#include "ui/handler_guard.h"

#include "ui/dialogs.h"

#include <QApplication>

namespace dravik::ui {

void showHandlerError(const Error& error) {
    dialogs::showError(QApplication::activeWindow(), error.message());
}

} // namespace dravik::ui
