#include "ui/item_list.h"

#include "ui/ui_style.h"

#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

namespace dravik::ui {

namespace {

constexpr int kHeaderRowHeight = 30;
// A header's caption is placed as the item views of the style place an item's text.
constexpr int kHeaderLeft = 3;
constexpr int kHeaderCaptionHeight = kHeaderRowHeight - 2;
constexpr int kCaptionLeft = 8; // "Ｘ＝" must end before its combo at 50
constexpr int kFillHeight = 32;
const QColor kRowLine(0xE6, 0xE9, 0xEE);
const QColor kHeaderText(0x60, 0x66, 0x70);

} // namespace

ItemList::ItemList(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
}

QLabel* ItemList::addGroupHeader(const QString& caption) {
    auto* label = new QLabel(caption, this);
    setTextColour(label, kHeaderText);
    rows_.append({kHeaderRowHeight, true, label, {}});
    layoutRows();
    return label;
}

void ItemList::addRow(const QString& caption, const QColor& captionColour, int height) {
    QLabel* label = nullptr;
    if (!caption.isEmpty()) {
        label = new QLabel(caption, this);
        label->setFont(uiFont(15));
        setTextColour(label, captionColour);
    }
    rows_.append({height, false, label, {}});
    layoutRows();
}

void ItemList::fill(QWidget* control, int left, int right) {
    add({control, Place::Fill, QSize(), left, right});
}

void ItemList::pinRight(QWidget* control, QSize size, int right) {
    add({control, Place::Right, size, 0, right});
}

void ItemList::centre(QWidget* control, QSize size, int left, int right) {
    add({control, Place::Centre, size, left, right});
}

void ItemList::add(Slot slot) {
    Q_ASSERT(!rows_.isEmpty() && !rows_.last().header);
    Row& row = rows_.last();
    slot.control->setParent(this);
    // The caption names the row's first control for screen readers, which find it by this link.
    if (row.caption && row.controls.isEmpty())
        row.caption->setBuddy(slot.control);
    row.controls.append(slot);
    layoutRows();
}

void ItemList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    int top = 0;
    for (const Row& row : std::as_const(rows_)) {
        top += row.height;
        painter.fillRect(0, top - 1, width(), 1, kRowLine);
    }
}

void ItemList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutRows();
}

void ItemList::layoutRows() {
    int top = 0;
    for (const Row& row : std::as_const(rows_)) {
        // Above the line that ends the row.
        const int h = row.height - 1;
        if (row.caption) {
            const int left = row.header ? kHeaderLeft : kCaptionLeft;
            row.caption->setGeometry(left, top, width() - left, row.header ? kHeaderCaptionHeight : h);
        }
        for (const Slot& slot : row.controls) {
            switch (slot.place) {
            case Place::Fill:
                slot.control->setGeometry(slot.left, top + (h - kFillHeight) / 2,
                                          width() - slot.left - slot.right, kFillHeight);
                break;
            case Place::Right:
                slot.control->setGeometry(width() - slot.right - slot.size.width(),
                                          top + (h - slot.size.height()) / 2, slot.size.width(),
                                          slot.size.height());
                break;
            case Place::Centre:
                slot.control->setGeometry(
                    slot.left + (width() - slot.left - slot.right - slot.size.width()) / 2,
                    top + (h - slot.size.height()) / 2, slot.size.width(), slot.size.height());
                break;
            }
        }
        top += row.height;
    }
}

ChoiceCombo* makeCombo(ChoiceCombo::Typing typing, const QString& name) {
    auto* combo = new ChoiceCombo(typing);
    combo->setObjectName(name);
    combo->setFont(uiFont(15));
    combo->setStyleSheet(QStringLiteral("QComboBox { color: %1; }").arg(cssColor(kDodgerBlue)));
    return combo;
}

} // namespace dravik::ui
