#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QPainter;
class QWidget;

namespace dravik::ui {

// The window's few colours: text is black at alpha 0xB4, tables and combos are dodger blue, and the
// caption of the selected or hovered tab is crimson.
inline const QColor kText(0, 0, 0, 0xB4);
inline const QColor kDodgerBlue(0x1E, 0x90, 0xFF);
inline const QColor kCrimson(0xDC, 0x14, 0x3C);

// "微软雅黑" first; Linux desktops rarely have it, so the common CJK families follow.
QFont uiFont(qreal pointSize);

// The same colour as a style-sheet value, alpha included.
QString cssColor(const QColor& colour);

// A caption in the window's text colour.
QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent);
// A label's text in another colour.
void setTextColour(QLabel* label, const QColor& colour);

// The thin ring by which a control reached with the keyboard shows its focus.
void paintFocusRing(QPainter& painter, const QRect& rect);

} // namespace dravik::ui
