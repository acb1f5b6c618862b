#include "ui/frozen_table.h"

#include <QHeaderView>
#include <QScrollBar>

namespace dravik::ui {

FrozenColumnsTable::FrozenColumnsTable(int frozenColumns, QWidget* parent)
    : QTableView(parent), frozenColumns_(frozenColumns), frozen_(new QTableView(this)) {
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    frozen_->setObjectName(QStringLiteral("frozenColumns"));
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The overlay takes its widths from this view and sets no least width of its own: Qt's, the
    // widest character of the overlay's font, would widen its columns past this view's in a wide font.
    frozen_->horizontalHeader()->setMinimumSectionSize(0);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(ScrollPerPixel);
    frozen_->setFrameShape(QFrame::NoFrame);
    viewport()->stackUnder(frozen_);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
        if (column < frozenColumns_) {
            frozen_->setColumnWidth(column, width);
            placeOverlay();
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int height) { frozen_->setRowHeight(row, height); });
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    // The overlay lays itself out on its own time: a value it could not take yet is taken once its
    // range allows it.
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::rangeChanged, this,
            [this] { frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value()); });
}

void FrozenColumnsTable::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    frozen_->setModel(model);
    frozen_->setSelectionModel(selectionModel());
    connect(model, &QAbstractItemModel::modelReset, this, &FrozenColumnsTable::syncColumns);
    connect(model, &QAbstractItemModel::columnsInserted, this, &FrozenColumnsTable::syncColumns);
    syncColumns();
}

int FrozenColumnsTable::frozenWidth() const {
    int width = 0;
    for (int column = 0; column < frozenColumns_; ++column)
        width += columnWidth(column);
    return width;
}

void FrozenColumnsTable::scrollSidewaysWith(QAbstractScrollArea* other) {
    leader_ = other;
    QScrollBar* theirs = other->horizontalScrollBar();
    connect(theirs, &QAbstractSlider::valueChanged, horizontalScrollBar(), &QAbstractSlider::setValue);
    connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, theirs, &QAbstractSlider::setValue);
    connect(theirs, &QAbstractSlider::rangeChanged, this, &FrozenColumnsTable::followLeaderRange);
    followLeaderRange();
}

void FrozenColumnsTable::followLeaderRange() {
    // The other view's range is the longer one when its vertical scroll bar takes width from its
    // columns; scrolled as far, this view shows an empty strip where the other has its scroll bar.
    if (leader_)
        horizontalScrollBar()->setRange(0, leader_->horizontalScrollBar()->maximum());
}

void FrozenColumnsTable::syncColumns() {
    if (!model())
        return;
    // Rows, header and selection as this view has them now (they may be styled after construction):
    // the two views share one selection, which the overlay must not widen.
    frozen_->setSelectionMode(selectionMode());
    frozen_->setSelectionBehavior(selectionBehavior());
    frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozen_->horizontalHeader()->setVisible(horizontalHeader()->isVisible());
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    for (int column = 0; column < model()->columnCount(); ++column) {
        frozen_->setColumnHidden(column, column >= frozenColumns_);
        if (column < frozenColumns_)
            frozen_->setColumnWidth(column, columnWidth(column));
    }
    placeOverlay();
}

void FrozenColumnsTable::placeOverlay() {
    const int header = horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0;
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), frozenWidth(),
                         viewport()->height() + header);
}

void FrozenColumnsTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeOverlay();
}

void FrozenColumnsTable::updateGeometries() {
    QTableView::updateGeometries();
    followLeaderRange();
    placeOverlay();
}

QModelIndex FrozenColumnsTable::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Moving left onto a column hidden under the overlay scrolls it out from beneath.
    if (cursorAction == MoveLeft && current.column() >= frozenColumns_) {
        const int left = visualRect(current).left();
        if (left < frozenWidth())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + left - frozenWidth());
    }
    return current;
}

void FrozenColumnsTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // The frozen columns are always in view: for them only the rows scroll.
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.column() < frozenColumns_)
        horizontalScrollBar()->setValue(sideways);
}

} // namespace dravik::ui
