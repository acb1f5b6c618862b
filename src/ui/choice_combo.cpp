#include "ui/choice_combo.h"

#include "ui/accessible_widgets.h"

#include <QAbstractItemView>
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
    // A click anywhere on a read-only combo opens its list, as on a combo without a text field.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && isEnabled()) {
        showPopup();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void ChoiceCombo::mousePressEvent(QMouseEvent* event) {
    // Qt opens an editable combo's list only from its arrow; the frame around the field counts too.
    if (isReadOnly() && event->button() == Qt::LeftButton) {
        showPopup();
        return;
    }
    QComboBox::mousePressEvent(event);
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
    if (row >= 0 && (row != currentIndex() || currentText() != itemText(row))) {
        setCurrentIndex(row);
        setEditText(itemText(row));
        emit activated(row);
        emit textActivated(itemText(row));
    }
}

} // namespace dravik::ui
