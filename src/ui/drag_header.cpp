#include "ui/drag_header.h"

#include "ui/window_fit.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace dravik::ui {

DragHeader::DragHeader(QWidget* parent) : QWidget(parent) {}

void DragHeader::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    grabOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    event->accept();
}

void DragHeader::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // The window stays inside the free area of the screen the pointer is on: a header dragged off the
    // bottom or under a task bar could not be reached to drag it back.
    QWidget* window = this->window();
    const QPoint pointer = event->globalPosition().toPoint();
    const QPoint wanted = pointer - grabOffset_;
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = window->screen();
    window->move(screen ? keptInside(wanted, window->frameGeometry().size(), screen->availableGeometry())
                        : wanted);
    event->accept();
}

void DragHeader::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace dravik::ui
