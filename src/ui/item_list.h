#pragma once

#include "ui/choice_combo.h"

#include <QColor>
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;

namespace dravik::ui {

// A list box of fixed rows holding controls, as the pages use them: no scroll bars, rows that cannot
// be selected, a thin line under each row.
QListWidget* makeItemList(const QString& name, QWidget* parent);
// A group-header row, 30 high.
void addGroupHeader(QListWidget* list, const QString& caption);
// An item row of the given height holding the row widget.
void addItemRow(QListWidget* list, QWidget* row, int height = 40);

// An editable or read-only combo in the pages' font and colour ("微软雅黑" 15 points, dodger blue).
ChoiceCombo* makeCombo(ChoiceCombo::Typing typing, const QString& name);

// One item row: an optional caption at the left and its controls, each placed by its margins when the
// row is laid out. The caption labels the first control (its buddy), as screen readers announce it.
class ItemRow : public QWidget {
public:
    ItemRow(const QString& caption, const QColor& captionColour, QWidget* parent = nullptr);

    // Across the row between the margins, 32 high, centred vertically.
    void fill(QWidget* control, int left, int right);
    // Of a fixed size at the right end.
    void pinRight(QWidget* control, QSize size, int right);
    // Of a fixed size, centred in what the margins leave of the row.
    void centre(QWidget* control, QSize size, int left, int right);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Place { Fill, Right, Centre };
    struct Slot {
        QWidget* control;
        Place place;
        QSize size;
        int left;
        int right;
    };
    void add(Slot slot);

    QLabel* label_ = nullptr;
    QList<Slot> slots_;
};

} // namespace dravik::ui
