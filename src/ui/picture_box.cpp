#include "ui/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace dravik::ui {

PictureBox::PictureBox(const QString& resource, QWidget* parent) : QWidget(parent), picture_(resource) {}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QSizeF size = picture_.size();
    if (size.isEmpty())
        return;
    size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    const QRectF target((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                        size.height());
    picture_.draw(painter, target);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit doubleClicked();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace dravik::ui
