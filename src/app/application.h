#pragma once

#include "storage/error.h"

#include <QApplication>

namespace dravik {

// The application object. A dravik::Error that escapes an event handler ends that handler only: it is
// shown in the error box and the event loop goes on. Handlers catch their own errors first
// (ui::guarded), so this is the last resort. Qt's own texts (Yes, No, OK) follow the system
// locale.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace dravik
