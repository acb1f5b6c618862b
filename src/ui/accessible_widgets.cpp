#include "ui/accessible_widgets.h"

#include "ui/choice_combo.h"
#include "ui/combo_accessible_name.h"
#include "ui/tab_control.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace dravik::ui {

namespace {

// A tab of the strip. Pressing it goes through the button's click, so the page switches and the
// window's handling of the change (the question about unsaved settings included) runs as for the mouse.
class AccessibleTab : public QAccessibleWidget {
public:
    explicit AccessibleTab(QWidget* widget) : QAccessibleWidget(widget, QAccessible::PageTab) {}

    QString text(QAccessible::Text t) const override {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            return button()->text();
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = button()->isChecked();
        state.checked = button()->isChecked();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TabButton* button() const { return static_cast<TabButton*>(widget()); }
};

// Read as Qt's own combo is read (comboAccessibleName): its caption (its accessible name, else the
// text of the label whose buddy it is) and its text, which may be one that no entry holds ("036"). A
// read-only combo is a plain drop-down list: its text field is not a child to type into.
class AccessibleChoiceCombo : public QAccessibleWidget {
public:
    explicit AccessibleChoiceCombo(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

    int childCount() const override { return combo()->isReadOnly() ? 1 : 2; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && !combo()->isReadOnly())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        if (child->object() == combo()->view())
            return 0;
        if (child->object() == combo()->lineEdit() && !combo()->isReadOnly())
            return 1;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        if (!combo()->isReadOnly() &&
            combo()->lineEdit()->geometry().contains(combo()->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return combo()->currentText();
        const QString caption = QAccessibleWidget::text(QAccessible::Name);
        if (t == QAccessible::Name)
            return comboAccessibleName(caption, combo()->currentText());
        // Where the desktop takes the name for the value, the caption is also said as the description,
        // for a screen reader that does not follow the label.
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Description && text.isEmpty())
            return caption;
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = combo()->view()->isVisible();
        state.editable = !combo()->isReadOnly();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

private:
    ChoiceCombo* combo() const { return static_cast<ChoiceCombo*>(widget()); }
};

QAccessibleInterface* kitInterface(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (className == QLatin1String(TabButton::staticMetaObject.className()))
        return new AccessibleTab(widget);
    if (className == QLatin1String(TabStrip::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::PageTabList);
    if (className == QLatin1String(ChoiceCombo::staticMetaObject.className()))
        return new AccessibleChoiceCombo(widget);
    return nullptr;
}

} // namespace

void installAccessibleWidgets() {
    static const bool installed = [] {
        QAccessible::installFactory(kitInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace dravik::ui
