#include "ui/ui_style.h"

#include <QLabel>
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
    label->setStyleSheet(QStringLiteral("color: %1;").arg(cssColor(kText)));
    return label;
}

} // namespace dravik::ui
