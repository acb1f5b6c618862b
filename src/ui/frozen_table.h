#pragma once

#include <QTableView>

namespace dravik::ui {

// A table whose first columns stay in place while the others scroll sideways beneath them: a second
// view of the same model lies over those columns and follows the rows (Qt's frozen-column pattern).
// Column widths are set on this view; the overlay copies them.
class FrozenColumnsTable : public QTableView {
    Q_OBJECT
public:
    FrozenColumnsTable(int frozenColumns, QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // The overlay, for styling it like this view.
    QTableView* frozenView() const { return frozen_; }
    // The width the frozen columns take.
    int frozenWidth() const;
    // Scrolls sideways with `other`, whichever of the two moves, over the other's range: this view
    // (footers under a chart, of the same columns) has no vertical scroll bar beside the other's, and
    // its own range, one bar's width shorter, would pull the other back from its right end.
    void scrollSidewaysWith(QAbstractScrollArea* other);

protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

private:
    void syncColumns();
    void placeOverlay();
    void followLeaderRange();

    int frozenColumns_;
    QTableView* frozen_;
    QAbstractScrollArea* leader_ = nullptr;
};

} // namespace dravik::ui
