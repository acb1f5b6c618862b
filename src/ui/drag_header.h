#pragma once

#include <QPoint>
#include <QWidget>

namespace dravik::ui {

// A header strip by which the frameless window is dragged around, within the free area of the screen.
class DragHeader : public QWidget {
    Q_OBJECT
public:
    explicit DragHeader(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool dragging_ = false;
    QPoint grabOffset_;
};

} // namespace dravik::ui
