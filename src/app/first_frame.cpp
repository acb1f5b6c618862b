#include "app/first_frame.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace dravik {

namespace {

constexpr int kLongestWaitMs = 1000;

class FirstFrame : public QObject {
public:
    FirstFrame(QWidget* window, std::function<void()> work) : QObject(window), work_(std::move(work)) {
        QWindow* handle = window->windowHandle();
        if (handle && handle->isExposed())
            QTimer::singleShot(0, this, &FirstFrame::run);
        else if (handle)
            handle->installEventFilter(this);
        QTimer::singleShot(kLongestWaitMs, this, &FirstFrame::run);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window paints and flushes its frame while it handles the expose: the work comes after,
        // queued.
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &FirstFrame::run);
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

void runAfterFirstFrame(QWidget* window, std::function<void()> work) {
    new FirstFrame(window, std::move(work));
}

} // namespace dravik
