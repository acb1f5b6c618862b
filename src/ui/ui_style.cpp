#include "ui/ui_style.h"

#include <QLabel>
#include <QPainter>
#include <QStringList>

namespace dravik::ui {

QFont uiFont(qreal pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    return font;
}

QString cssColor(const QColor& colour) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.alpha());
}

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    setTextColour(label, kText);
    return label;
}

void setTextColour(QLabel* label, const QColor& colour) {
    label->setStyleSheet(QStringLiteral("color: %1;").arg(cssColor(colour)));
}

void paintFocusRing(QPainter& painter, const QRect& rect) {
    QColor ring = kDodgerBlue;
    ring.setAlpha(0x90);
    painter.setPen(QPen(ring, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect).adjusted(3, 3, -3, -3), 6, 6);
}

} // namespace dravik::ui
