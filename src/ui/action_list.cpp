#include "ui/action_list.h"

#include <QAction>
#include <utility>

namespace dravik::ui {

ActionList::ActionList(QObject* parent) : QObject(parent) {}

void ActionList::add(const QString& name, std::function<void()> handler) {
    auto* action = new QAction(name, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
        try {
            handler();
        } catch (...) {
            failure_ = std::current_exception();
        }
    });
}

void ActionList::run(const QString& name) {
    auto* action = findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT_X(action, "ActionList::run", qPrintable(name));
    if (!action)
        return;
    action->trigger();
    if (std::exception_ptr failure = std::exchange(failure_, nullptr))
        std::rethrow_exception(failure);
}

} // namespace dravik::ui
