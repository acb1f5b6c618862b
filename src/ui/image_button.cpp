#include "ui/image_button.h"

#include "ui/ui_style.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPen>
#include <QToolTip>

namespace dravik::ui {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab, but a click leaves the focus where it was (in the field being typed into).
    setFocusPolicy(Qt::TabFocus);
}

void ImageButton::setPictureMargin(int margin) {
    margin_ = margin;
    update();
}

void ImageButton::setCaptionRowHeight(int height) {
    captionRow_ = height;
    update();
}

QSize ImageButton::sizeHint() const {
    return {50, 50};
}

bool ImageButton::event(QEvent* event) {
    // A picture says what the button does to those who know it; the pointer's pause says it in words.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && text().isEmpty() &&
        !accessibleName().isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), accessibleName(), this);
        return true;
    }
    return QAbstractButton::event(event);
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRect pictureArea = rect().adjusted(margin_, margin_, -margin_, -margin_);
    if (captionRow_ > 0 && !text().isEmpty()) {
        pictureArea.setBottom(height() - captionRow_ - 1);
        painter.setFont(font());
        painter.setPen(kText);
        painter.drawText(QRect(0, height() - captionRow_, width(), captionRow_), Qt::AlignCenter, text());
    }
    if (isDown())
        painter.setOpacity(0.6);
    else if (underMouse() && isEnabled())
        painter.setOpacity(0.85);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    icon().paint(&painter, pictureArea, Qt::AlignCenter, mode);
    // Only buttons reached by the keyboard take focus; they show it with a thin ring.
    if (hasFocus()) {
        painter.setOpacity(1.0);
        paintFocusRing(painter, rect());
    }
}

void ImageButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void ImageButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

} // namespace dravik::ui
