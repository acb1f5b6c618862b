#include "ui/drag_header.h"

#include "ui/window_fit.h"
#include "ui/window_frame.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace dravik::ui {

DragHeader::DragHeader(QWidget* parent) : QWidget(parent) {}

void DragHeader::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    dragging_ = false;
    pressedAt_ = event->globalPosition().toPoint();
    grabOffset_ = pressedAt_ - window()->frameGeometry().topLeft();
    event->accept();
}

void DragHeader::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    QWidget* window = this->window();
    const QPoint pointer = event->globalPosition().toPoint();
    // A maximised window stays where it is, as it does under a title bar.
    const WindowFrame* frame = WindowFrame::of(this);
    if (frame && frame->isMaximized())
        return;
    // The drag begins once the pointer has moved as far as a drag needs: the two clicks of a
    // double-click never move the window, nor hand it to the window manager.
    if (!dragging_) {
        if ((pointer - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        dragging_ = true;
        if (QWindow* handle = window->windowHandle(); handle && handle->startSystemMove()) {
            pressed_ = false;
            return;
        }
    }
    // The window stays inside the free area of the screen the pointer is on: a header dragged off the
    // bottom or under a task bar could not be reached to drag it back.
    const QPoint wanted = pointer - grabOffset_;
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = window->screen();
    window->move(screen ? keptInside(wanted, window->frameGeometry().size(), screen->availableGeometry())
                        : wanted);
}

void DragHeader::mouseReleaseEvent(QMouseEvent* event) {
    pressed_ = false;
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void DragHeader::mouseDoubleClickEvent(QMouseEvent* event) {
    WindowFrame* frame = WindowFrame::of(this);
    if (event->button() != Qt::LeftButton || !frame) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    frame->toggleMaximized();
}

} // namespace dravik::ui
