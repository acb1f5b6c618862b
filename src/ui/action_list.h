#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>

namespace dravik::ui {

// Named actions (QActions, children of the list and named like it), run synchronously by name. An error
// of a handler must not pass through QAction's own frames: it is kept while they unwind and raised again
// by run(), in the caller's frame.
class ActionList : public QObject {
    Q_OBJECT
public:
    explicit ActionList(QObject* parent = nullptr);

    void add(const QString& name, std::function<void()> handler);
    // Runs the named action to its end; its error, if any, is raised here.
    void run(const QString& name);

private:
    std::exception_ptr failure_;
};

} // namespace dravik::ui
