#pragma once

#include "ui/choice_combo.h"

#include <QColor>
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;

namespace dravik::ui {

// A list of fixed rows holding controls, as the pages use them: rows that cannot be selected, a thin
// line under each row. Captions and controls are the list's own children, in the order they are
// added, so a screen reader finds each control in the page in reading order. Where the rows are taller
// than the list they scroll, with the wheel (over a control too, unless it has the focus) and to bring
// a control that takes the focus into view; there is no scroll bar.
class ItemList : public QWidget {
public:
    explicit ItemList(const QString& name, QWidget* parent = nullptr);

    // A group-header row, 30 high; its caption label.
    QLabel* addGroupHeader(const QString& caption);
    // An item row of the given height with an optional caption at the left. The caption labels the
    // row's first control (its buddy), as screen readers announce it.
    void addRow(const QString& caption, const QColor& captionColour, int height = 40);

    // Controls of the row last added, each placed by its margins when the list is laid out:
    // across the row between the margins, 32 high, centred vertically;
    void fill(QWidget* control, int left, int right);
    // of a fixed size at the right end;
    void pinRight(QWidget* control, QSize size, int right);
    // of a fixed size, centred in what the margins leave of the row.
    void centre(QWidget* control, QSize size, int left, int right);
    // A click anywhere on the row last added, its caption included, clicks `button` (one of its
    // controls), as a click on an entry of a list of options checks it.
    void clickWithRow(QAbstractButton* button);

    int count() const { return int(rows_.size()); }
    // How far the rows are scrolled up, from 0 to the height they need beyond the list's.
    int scrollOffset() const { return scroll_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Place { Fill, Right, Centre };
    struct Slot {
        QWidget* control;
        Place place;
        QSize size;
        int left;
        int right;
    };
    struct Row {
        int height;
        bool header;
        QLabel* caption;
        QList<Slot> controls;
        QAbstractButton* button = nullptr; // what a click on the row clicks
    };
    void add(Slot slot);
    void layoutRows();
    int rowsHeight() const;
    // The index of the row at y in the list, -1 outside the rows.
    int rowAt(int y) const;
    void scrollTo(int offset);
    // Scrolls as little as brings the row of the control (and the header of its group, where it is the
    // group's first row) into view.
    void bringIntoView(const QWidget* control);
    // Scrolls by a wheel's turn; false when the rows fit and there is nothing to scroll.
    bool scrollByWheel(const QWheelEvent* event);

    QList<Row> rows_;
    int scroll_ = 0;
    int pressedRow_ = -1; // the row a click began on
};

// An editable or read-only combo in the pages' font and colour ("微软雅黑" 15 points, dodger blue).
ChoiceCombo* makeCombo(ChoiceCombo::Typing typing, const QString& name);

} // namespace dravik::ui
