#include "ui/drag_header.h"

#include <QMouseEvent>

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
    window()->move(event->globalPosition().toPoint() - grabOffset_);
    event->accept();
}

void DragHeader::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace dravik::ui
