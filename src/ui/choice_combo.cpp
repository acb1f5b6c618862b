#include "ui/choice_combo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace dravik::ui {

namespace {

class RowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 30};
    }
};

} // namespace

ChoiceCombo::ChoiceCombo(Typing typing, QWidget* parent) : QComboBox(parent) {
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

void ChoiceCombo::hidePopup() {
    // Qt also calls this when the combo is merely hidden; only a list that was open closes.
    const bool wasOpen = view()->isVisible();
    QComboBox::hidePopup();
    // Qt closes the list before it applies the pick; report the closing after the pick.
    if (wasOpen)
        QMetaObject::invokeMethod(this, &ChoiceCombo::popupClosed, Qt::QueuedConnection);
}

bool ChoiceCombo::eventFilter(QObject* watched, QEvent* event) {
    // A click anywhere on a read-only combo opens its list, as on a combo without a text field.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && isEnabled()) {
        showPopup();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace dravik::ui
