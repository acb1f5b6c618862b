#include "ui/item_list.h"

#include "ui/ui_style.h"

#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>

namespace dravik::ui {

namespace {

constexpr int kHeaderRowHeight = 30;
constexpr int kCaptionLeft = 8; // "Ｘ＝" must end before its combo at 50
constexpr int kFillHeight = 32;

} // namespace

QListWidget* makeItemList(const QString& name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setFrameShape(QFrame::NoFrame);
    list->setStyleSheet(QStringLiteral("QListWidget { background: white; }"
                                       "QListWidget::item { border-bottom: 1px solid #E6E9EE; }"));
    return list;
}

void addGroupHeader(QListWidget* list, const QString& caption) {
    auto* item = new QListWidgetItem(caption, list);
    item->setFlags(Qt::ItemIsEnabled);
    item->setSizeHint(QSize(0, kHeaderRowHeight));
    item->setBackground(QColor(0xF2, 0xF4, 0xF7));
    item->setForeground(QColor(0x60, 0x66, 0x70));
}

void addItemRow(QListWidget* list, QWidget* row, int height) {
    auto* item = new QListWidgetItem(list);
    item->setFlags(Qt::ItemIsEnabled);
    item->setSizeHint(QSize(0, height));
    list->setItemWidget(item, row);
}

ChoiceCombo* makeCombo(ChoiceCombo::Typing typing, const QString& name) {
    auto* combo = new ChoiceCombo(typing);
    combo->setObjectName(name);
    combo->setFont(uiFont(15));
    combo->setStyleSheet(QStringLiteral("QComboBox { color: %1; }").arg(cssColor(kDodgerBlue)));
    return combo;
}

ItemRow::ItemRow(const QString& caption, const QColor& captionColour, QWidget* parent) : QWidget(parent) {
    if (caption.isEmpty())
        return;
    label_ = new QLabel(caption, this);
    label_->setFont(uiFont(15));
    label_->setStyleSheet(QStringLiteral("color: %1;").arg(cssColor(captionColour)));
}

void ItemRow::fill(QWidget* control, int left, int right) {
    add({control, Place::Fill, QSize(), left, right});
}

void ItemRow::pinRight(QWidget* control, QSize size, int right) {
    add({control, Place::Right, size, 0, right});
}

void ItemRow::centre(QWidget* control, QSize size, int left, int right) {
    add({control, Place::Centre, size, left, right});
}

void ItemRow::add(Slot slot) {
    slot.control->setParent(this);
    // The caption names the row's first control for screen readers, which find it by this link.
    if (label_ && slots_.isEmpty())
        label_->setBuddy(slot.control);
    slots_.append(slot);
}

void ItemRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (label_)
        label_->setGeometry(kCaptionLeft, 0, width() - kCaptionLeft, height());
    for (const Slot& slot : std::as_const(slots_)) {
        switch (slot.place) {
        case Place::Fill:
            slot.control->setGeometry(slot.left, (height() - kFillHeight) / 2,
                                      width() - slot.left - slot.right, kFillHeight);
            break;
        case Place::Right:
            slot.control->setGeometry(width() - slot.right - slot.size.width(),
                                      (height() - slot.size.height()) / 2, slot.size.width(),
                                      slot.size.height());
            break;
        case Place::Centre:
            slot.control->setGeometry(slot.left + (width() - slot.left - slot.right - slot.size.width()) / 2,
                                      (height() - slot.size.height()) / 2, slot.size.width(),
                                      slot.size.height());
            break;
        }
    }
}

} // namespace dravik::ui
