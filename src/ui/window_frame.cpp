#include "ui/window_frame.h"

#include "ui/window_fit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace dravik::ui {

namespace {

Qt::CursorShape resizeCursor(Qt::Edges edges) {
    const bool across = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool down = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (across && down)
        return bool(edges & Qt::TopEdge) == bool(edges & Qt::LeftEdge) ? Qt::SizeFDiagCursor
                                                                       : Qt::SizeBDiagCursor;
    return across ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

WindowFrame::WindowFrame(QWidget* window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("windowFrame"));
    // The edges lie over whatever the window shows there: every widget's pointer events are looked at
    // before the widget gets them.
    qApp->installEventFilter(this);
}

WindowFrame::~WindowFrame() {
    showEdges({});
}

WindowFrame* WindowFrame::of(const QWidget* widget) {
    return widget ? widget->window()->findChild<WindowFrame*>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

QRect WindowFrame::normalGeometry() const {
    return maximized_ ? normal_ : window_->geometry();
}

void WindowFrame::toggleMaximized() {
    setMaximized(!maximized_);
}

void WindowFrame::setMaximized(bool maximized) {
    const bool changed = maximized != maximized_;
    if (maximized) {
        if (!maximized_)
            normal_ = window_->geometry();
        maximized_ = true;
        // Also when already maximised: the free area may have changed. The screen is the one the
        // window lies on, which a window just placed may not have been told yet.
        const QScreen* screen = QGuiApplication::screenAt(window_->geometry().center());
        if (!screen)
            screen = window_->screen();
        if (screen)
            window_->setGeometry(screen->availableGeometry());
    } else if (maximized_) {
        maximized_ = false;
        window_->setGeometry(normal_);
    }
    if (changed) {
        showEdges({});
        emit maximizedChanged(maximized_);
    }
}

Qt::Edges WindowFrame::edgesAt(QPoint global) const {
    if (maximized_ || window_->minimumSize() == window_->maximumSize())
        return {};
    return ui::edgesAt(window_->mapFromGlobal(global), window_->size(), kBorder, kCorner);
}

void WindowFrame::showEdges(Qt::Edges edges) {
    if (edges == shown_)
        return;
    if (!edges)
        QGuiApplication::restoreOverrideCursor();
    else if (shown_)
        QGuiApplication::changeOverrideCursor(resizeCursor(edges));
    else
        QGuiApplication::setOverrideCursor(resizeCursor(edges));
    shown_ = edges;
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Leave && watched == window_ && !grabbed_)
        showEdges({});
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    if (!watched->isWidgetType())
        return false;
    if (static_cast<QWidget*>(watched)->window() != window_) {
        // The pointer is over another window (a menu, a dialog): the cursor is that window's.
        if (!grabbed_)
            showEdges({});
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (grabbed_) {
        if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
            const QScreen* screen = window_->screen();
            const QRect area = screen ? screen->availableGeometry() : window_->geometry();
            window_->setGeometry(resizedGeometry(grabGeometry_, grabbed_, global - grabPointer_,
                                                 window_->minimumSize(), area));
        } else if (type == QEvent::MouseMove ||
                   (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)) {
            // Released, or moved with the button up: a release the window never saw (another program
            // took the pointer) ends the grab too.
            grabbed_ = {};
            showEdges(edgesAt(global));
        }
        return true;
    }
    const Qt::Edges edges = edgesAt(global);
    if (type == QEvent::MouseMove) {
        // While a button is held the drag is some widget's, which keeps its cursor.
        if (mouse->buttons() == Qt::NoButton)
            showEdges(edges);
        return false;
    }
    if (!edges || mouse->button() != Qt::LeftButton)
        return false;
    // On an edge the left button belongs to the frame: a double-click there does not reach the header.
    if (type == QEvent::MouseButtonPress) {
        QWindow* handle = window_->windowHandle();
        if (!handle || !handle->startSystemResize(edges)) {
            grabbed_ = edges;
            grabGeometry_ = window_->geometry();
            grabPointer_ = global;
        }
    }
    return true;
}

} // namespace dravik::ui
