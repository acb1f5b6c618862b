#include "ui/item_list.h"

#include "ui/ui_style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>

namespace dravik::ui {

namespace {

constexpr int kHeaderRowHeight = 30;
// A header's caption is placed as the item views of the style place an item's text.
constexpr int kHeaderLeft = 3;
constexpr int kHeaderCaptionHeight = kHeaderRowHeight - 2;
constexpr int kCaptionLeft = 8; // "Ｘ＝" must end before its combo at 50
constexpr int kFillHeight = 32;
// One notch of the wheel scrolls one item row.
constexpr int kWheelStep = 40;
const QColor kRowLine(0xE6, 0xE9, 0xEE);
const QColor kHeaderText(0x60, 0x66, 0x70);

} // namespace

ItemList::ItemList(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    // The focus reaches a control by Tab, by a click or from a screen reader; wherever it lands, its
    // row comes into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && isAncestorOf(now))
            bringIntoView(now);
    });
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

void ItemList::clickWithRow(QAbstractButton* button) {
    Q_ASSERT(!rows_.isEmpty() && !rows_.last().header);
    Row& row = rows_.last();
    row.button = button;
    if (row.caption)
        row.caption->setCursor(Qt::PointingHandCursor);
}

void ItemList::add(Slot slot) {
    Q_ASSERT(!rows_.isEmpty() && !rows_.last().header);
    Row& row = rows_.last();
    slot.control->setParent(this);
    slot.control->installEventFilter(this);
    // The caption names the row's first control for screen readers, which find it by this link.
    if (row.caption && row.controls.isEmpty())
        row.caption->setBuddy(slot.control);
    row.controls.append(slot);
    layoutRows();
}

// The caption and the parts of a control that do not take clicks (a radio button's, around its
// circle) pass the press and release on to the list.
void ItemList::mousePressEvent(QMouseEvent* event) {
    const int index = event->button() == Qt::LeftButton ? rowAt(int(event->position().y())) : -1;
    QAbstractButton* button = index >= 0 ? rows_.at(index).button : nullptr;
    if (!button || !button->isEnabled()) {
        pressedRow_ = -1;
        event->ignore();
        return;
    }
    pressedRow_ = index;
    // The focus goes where a click on the button itself would put it.
    if (button->focusPolicy() & Qt::ClickFocus)
        button->setFocus(Qt::MouseFocusReason);
    event->accept();
}

void ItemList::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = pressedRow_;
    pressedRow_ = -1;
    if (event->button() != Qt::LeftButton || pressed < 0) {
        event->ignore();
        return;
    }
    event->accept();
    // Released on another row, or off the list: no click, as with a button.
    if (rect().contains(event->position().toPoint()) && rowAt(int(event->position().y())) == pressed)
        rows_.at(pressed).button->click();
}

int ItemList::rowAt(int y) const {
    int top = -scroll_;
    for (int i = 0; i < rows_.size(); ++i) {
        if (y >= top && y < top + rows_.at(i).height)
            return i;
        top += rows_.at(i).height;
    }
    return -1;
}

bool ItemList::eventFilter(QObject* watched, QEvent* event) {
    // A wheel turned over a control scrolls the list rather than the control's value, unless the
    // user is working in that control: scrolling down the page must not change a setting on the way.
    if (event->type() == QEvent::Wheel) {
        auto* control = static_cast<QWidget*>(watched);
        if (!control->hasFocus() && !control->isAncestorOf(QApplication::focusWidget()) &&
            scrollByWheel(static_cast<QWheelEvent*>(event)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ItemList::wheelEvent(QWheelEvent* event) {
    if (!scrollByWheel(event))
        event->ignore();
}

bool ItemList::scrollByWheel(const QWheelEvent* event) {
    if (rowsHeight() <= height())
        return false;
    const int delta =
        !event->pixelDelta().isNull() ? event->pixelDelta().y() : event->angleDelta().y() * kWheelStep / 120;
    scrollTo(scroll_ - delta);
    return true;
}

int ItemList::rowsHeight() const {
    int total = 0;
    for (const Row& row : rows_)
        total += row.height;
    return total;
}

void ItemList::scrollTo(int offset) {
    offset = std::clamp(offset, 0, std::max(0, rowsHeight() - height()));
    if (offset == scroll_)
        return;
    scroll_ = offset;
    layoutRows();
    update();
}

void ItemList::bringIntoView(const QWidget* control) {
    while (control && control->parentWidget() != this)
        control = control->parentWidget();
    int top = 0;
    int headerTop = -1; // the top of the header row just passed, if the row before was one
    for (const Row& row : std::as_const(rows_)) {
        const bool holds = std::any_of(row.controls.cbegin(), row.controls.cend(),
                                       [control](const Slot& slot) { return slot.control == control; });
        if (holds) {
            const int from = headerTop >= 0 ? headerTop : top;
            const int to = top + row.height;
            if (from < scroll_)
                scrollTo(from);
            else if (to > scroll_ + height())
                scrollTo(std::min(from, to - height()));
            return;
        }
        headerTop = row.header ? top : -1;
        top += row.height;
    }
}

void ItemList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    int top = -scroll_;
    for (const Row& row : std::as_const(rows_)) {
        top += row.height;
        painter.fillRect(0, top - 1, width(), 1, kRowLine);
    }
}

void ItemList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A taller list may need less scrolling, or none.
    scroll_ = std::clamp(scroll_, 0, std::max(0, rowsHeight() - height()));
    layoutRows();
}

void ItemList::layoutRows() {
    int top = -scroll_;
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
