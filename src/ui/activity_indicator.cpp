#include "ui/activity_indicator.h"

#include "ui/ui_style.h"

#include <QPainter>
#include <QVariantAnimation>

namespace dravik::ui {

ActivityIndicator::ActivityIndicator(QWidget* parent) : QWidget(parent), spin_(new QVariantAnimation(this)) {
    spin_->setStartValue(0.0);
    spin_->setEndValue(360.0);
    spin_->setDuration(1200);
    spin_->setLoopCount(-1);
    connect(spin_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        angle_ = value.toReal();
        update();
    });
}

void ActivityIndicator::start() {
    spin_->start();
}

void ActivityIndicator::stop() {
    spin_->stop();
}

bool ActivityIndicator::isAnimating() const {
    return spin_->state() == QAbstractAnimation::Running;
}

void ActivityIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height()) - 14;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(QPen(QColor(0, 0, 0, 0x20), 3));
    painter.drawEllipse(circle);
    painter.setPen(QPen(kDodgerBlue, 3, Qt::SolidLine, Qt::RoundCap));
    // Angles of drawArc are in sixteenths of a degree, counter-clockwise: turn clockwise.
    painter.drawArc(circle, int(-angle_ * 16), 100 * 16);
}

} // namespace dravik::ui
