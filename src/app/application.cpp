#include "app/application.h"

#include "app/dialogs.h"
#include "storage/error.h"

#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace dravik {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Dravik"));
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        // A close request whose handler failed is not carried out: the window stays open.
        if (event->type() == QEvent::Close)
            event->ignore();
        dialogs::showError(activeWindow(), error.message());
        return true;
    }
}

} // namespace dravik
