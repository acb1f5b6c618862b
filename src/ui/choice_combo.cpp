#include "ui/choice_combo.h"

#include "ui/accessible_widgets.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>

namespace dravik::ui {

namespace {

// How far the pointer may move between the press that opens the list and its release for the two to
// remain one click (Qt's own combo allows as much).
constexpr int kClickSlop = 9;

class RowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 30};
    }
};

} // namespace

int typedEntry(const QStringList& entries, const QString& typed, int current) {
    const int exact = int(entries.indexOf(typed));
    if (exact >= 0 || typed.isEmpty())
        return exact;
    const int n = int(entries.size());
    for (int step = 1; step <= n; ++step) {
        const int i = (std::max(current, -1) + step) % n;
        if (entries.at(i).startsWith(typed))
            return i;
    }
    return -1;
}

ChoiceCombo::ChoiceCombo(Typing typing, QWidget* parent) : QComboBox(parent) {
    installAccessibleWidgets();
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setItemDelegate(new RowHeightDelegate(this));
    setMaxVisibleItems(10);
    setCursor(Qt::PointingHandCursor);
    if (typing == Typing::ReadOnly) {
        lineEdit()->setReadOnly(true);
        lineEdit()->setCursor(Qt::PointingHandCursor);
        lineEdit()->installEventFilter(this);
    }
    // Qt's combo tells the desktop of a new current entry only; the text also changes by typing and by
    // the program, and a screen reader would go on announcing the old value.
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        QAccessibleValueChangeEvent event(this, text);
        QAccessible::updateAccessibility(&event);
    });
}

void ChoiceCombo::setText(const QString& text) {
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0 && index != currentIndex())
        setCurrentIndex(index);
    setEditText(text);
}

void ChoiceCombo::replaceItems(const QStringList& items) {
    // Only the list changes: the text stays, so nothing that watches the text hears of it.
    const QSignalBlocker blocker(this);
    const QString text = currentText();
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(text);
}

void ChoiceCombo::appendItems(const QStringList& items) {
    const QSignalBlocker blocker(this);
    const QString text = currentText();
    const int index = currentIndex();
    addItems(items);
    setCurrentIndex(index);
    setEditText(text);
}

bool ChoiceCombo::isReadOnly() const {
    return lineEdit()->isReadOnly();
}

void ChoiceCombo::hidePopup() {
    // Qt also calls this when the combo is merely hidden; only a list that was open closes.
    const bool wasOpen = view()->isVisible();
    QComboBox::hidePopup();
    // Qt closes the list before it applies the pick; report the closing after the pick.
    if (wasOpen)
        QMetaObject::invokeMethod(this, &ChoiceCombo::popupClosed, Qt::QueuedConnection);
}

bool ChoiceCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == popup_ || watched == view()->viewport())
        return filterPopupMouse(watched, event) || QComboBox::eventFilter(watched, event);
    // A click anywhere on a read-only combo opens its list, as on a combo without a text field.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && isEnabled()) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            openFromPress(press->globalPosition().toPoint());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void ChoiceCombo::mousePressEvent(QMouseEvent* event) {
    // Qt opens an editable combo's list only from its arrow; the frame around the field counts too.
    if (isReadOnly() && event->button() == Qt::LeftButton) {
        openFromPress(event->globalPosition().toPoint());
        return;
    }
    QComboBox::mousePressEvent(event);
}

void ChoiceCombo::openFromPress(const QPoint& globalPos) {
    showPopup();
    pressedAt_ = globalPos;
    releaseGuard_ = true;
    draggedSincePress_ = false;
    // The open list holds the pointer: the release of this click goes to it, not to the combo. Our
    // filters, installed after Qt's own, see the list's mouse events first.
    if (!popup_) {
        popup_ = view()->parentWidget();
        popup_->installEventFilter(this);
        view()->viewport()->installEventFilter(this);
    }
}

bool ChoiceCombo::filterPopupMouse(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        releaseGuard_ = false;
        // A click on the combo while its list is open closes the list, and the press must not then reach
        // the combo, which would open it again.
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (watched == popup_ && isReadOnly() && rect().contains(mapFromGlobal(at)))
            popup_->setAttribute(Qt::WA_NoMouseReplay);
        return false;
    }
    case QEvent::MouseMove:
        if (releaseGuard_ &&
            (static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pressedAt_).manhattanLength() >
                kClickSlop)
            draggedSincePress_ = true;
        return false;
    case QEvent::MouseButtonRelease: {
        if (!releaseGuard_)
            return false;
        releaseGuard_ = false;
        if (!draggedSincePress_)
            return true;
        // Pressed on the combo and dragged onto an entry: that entry is picked, however quick the drag
        // (Qt's list ignores a release so soon after it opened).
        if (watched != view()->viewport())
            return false;
        const QModelIndex index = view()->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (!index.isValid() || !(index.flags() & Qt::ItemIsEnabled))
            return false;
        hidePopup();
        choose(index.row());
        return true;
    }
    default:
        return false;
    }
}

void ChoiceCombo::choose(int row) {
    setCurrentIndex(row);
    setEditText(itemText(row));
    emit activated(row);
    emit textActivated(itemText(row));
}

void ChoiceCombo::keyPressEvent(QKeyEvent* event) {
    // Typed text moves in the list, as on a combo without a text field; keys typed in quick succession
    // make one text.
    const QString key = event->text();
    const bool printable = !key.isEmpty() && key.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!isReadOnly() || !printable) {
        QComboBox::keyPressEvent(event);
        return;
    }
    event->accept();
    const bool quick = sinceTyped_.isValid() && sinceTyped_.elapsed() < QApplication::keyboardInputInterval();
    typed_ = quick ? typed_ + key : key;
    sinceTyped_.start();
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        entries.append(itemText(i));
    const int row = typedEntry(entries, typed_, currentIndex());
    if (row >= 0 && (row != currentIndex() || currentText() != itemText(row)))
        choose(row);
}

} // namespace dravik::ui
