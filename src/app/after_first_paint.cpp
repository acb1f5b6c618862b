#include "app/after_first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace dravik {

namespace {

constexpr int kLongestWaitMs = 1000;

class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* window, std::function<void()> work) : QObject(window), work_(std::move(work)) {
        window->installEventFilter(this);
        QTimer::singleShot(kLongestWaitMs, this, &FirstPaint::run);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The paint is still to be done and flushed to the screen: the work comes after, queued.
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &FirstPaint::run);
        }
        return false;
    }

private:
    void run() {
        if (!work_)
            return;
        const std::function<void()> work = std::move(work_);
        work_ = nullptr;
        deleteLater();
        work();
    }

    std::function<void()> work_;
};

} // namespace

void runAfterFirstPaint(QWidget* window, std::function<void()> work) {
    new FirstPaint(window, std::move(work));
}

} // namespace dravik
