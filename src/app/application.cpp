#include "app/application.h"

#include "storage/error.h"
#include "ui/handler_guard.h"

#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dravik {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Dravik"));
    // Lets desktops match the window to its desktop entry (its icon and name in the task bar).
    setDesktopFileName(QStringLiteral("io.github.dravik_app.dravik"));
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // The last resort: handlers catch their errors themselves (guarded(), closeEvent), as one that
    // reaches this point has already passed through Qt's frames.
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        // A close request whose handler failed is not carried out: the window stays open.
        if (event->type() == QEvent::Close)
            event->ignore();
        ui::showHandlerError(error);
        return true;
    }
}

} // namespace dravik
