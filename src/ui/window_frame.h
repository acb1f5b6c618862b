#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace dravik::ui {

// What a title bar and a frame give a window, for a frameless one: its edges and corners resize it
// (the pointer shows the resize cursor within a few pixels of them), never below its least size, and
// it can be maximised and restored. Maximised, it takes the free area of its screen, placed there by
// this object rather than by a window manager, so that it is the same with one and without, and
// never covers a task bar. The resize is the platform's own where it offers one (Windows, and X11 or
// Wayland with a window manager); elsewhere the window follows the pointer.
class WindowFrame : public QObject {
    Q_OBJECT
public:
    // How close to an edge the pointer grabs it, and how far along an edge a corner reaches.
    static constexpr int kBorder = 6;
    static constexpr int kCorner = 16;

    explicit WindowFrame(QWidget* window);
    ~WindowFrame() override;

    // The frame of the window that holds `widget`; null when it has none.
    static WindowFrame* of(const QWidget* widget);

    bool isMaximized() const { return maximized_; }
    void setMaximized(bool maximized);
    void toggleMaximized();
    // The geometry the window has when not maximised: where restoring puts it.
    QRect normalGeometry() const;

signals:
    void maximizedChanged(bool maximized);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The edges the pointer at `global` (on the screen) would grab; none while the window cannot
    // be resized.
    Qt::Edges edgesAt(QPoint global) const;
    // The resize cursor where the pointer grabs an edge, the widgets' own elsewhere.
    void showEdges(Qt::Edges edges);

    QWidget* window_;
    bool maximized_ = false;
    QRect normal_;       // the geometry to restore, while maximised
    Qt::Edges shown_;    // the edges whose cursor shows
    Qt::Edges grabbed_;  // the edges being dragged by this object
    QRect grabGeometry_; // the window's geometry when they were grabbed
    QPoint grabPointer_; // and the pointer's place on the screen
};

} // namespace dravik::ui
