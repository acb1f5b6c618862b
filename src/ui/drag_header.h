#pragma once

#include <QPoint>
#include <QWidget>

namespace dravik::ui {

// A header strip that does for the frameless window what a title bar does: dragged, it moves the
// window (within the free area of the screen, where the window follows the pointer itself), and a
// double-click maximises or restores it (through the window's WindowFrame).
class DragHeader : public QWidget {
    Q_OBJECT
public:
    explicit DragHeader(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;  // the left button went down on the header
    bool dragging_ = false; // and has since moved far enough to drag
    QPoint pressedAt_;      // where, on the screen
    QPoint grabOffset_;
};

} // namespace dravik::ui
