#include "ui/tab_control.h"

#include "ui/accessible_widgets.h"
#include "ui/ui_style.h"

#include <QAccessible>
#include <QPainter>
#include <QPen>
#include <QStackedWidget>

namespace dravik::ui {

namespace {
constexpr int kIconRow = 25;
constexpr int kCaptionRow = 25;
} // namespace

TabButton::TabButton(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab (Space selects the tab); a click selects without taking the focus.
    setFocusPolicy(Qt::TabFocus);
    setFont(uiFont(13));
}

void TabButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect iconRow(0, 0, width(), kIconRow);
    icon().paint(&painter, iconRow.adjusted(0, 2, 0, 0), Qt::AlignCenter);
    painter.setFont(font());
    painter.setPen(isChecked() || underMouse() ? kCrimson : kText);
    painter.drawText(QRect(0, kIconRow, width(), kCaptionRow), Qt::AlignCenter, text());
    if (hasFocus()) {
        paintFocusRing(painter, rect());
    }
}

void TabButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void TabButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), pages_(new QStackedWidget(this)), strip_(new TabStrip(this)) {
    installAccessibleWidgets();
}

int TabControl::addTab(QWidget* content, const QString& name, const QIcon& icon, const QString& caption) {
    content->setObjectName(name + QStringLiteral("Page"));
    pages_->addWidget(content);
    auto* button = new TabButton(strip_);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setText(caption);
    const int index = int(buttons_.size());
    buttons_.append(button);
    // The tab is selected by setCurrentIndex alone, so a click on the selected tab changes nothing.
    connect(button, &QAbstractButton::clicked, this, [this, index] {
        buttons_.at(index)->setChecked(index == current_);
        setCurrentIndex(index);
    });
    layoutStrip();
    return index;
}

void TabControl::setCurrentIndex(int index) {
    if (index == current_ || index < 0 || index >= count())
        return;
    const int previous = current_;
    current_ = index;
    for (int i = 0; i < count(); ++i)
        buttons_.at(i)->setChecked(i == index);
    // Screen readers hear of the tab that is no longer selected and of the one that now is.
    QAccessible::State selection;
    selection.selected = true;
    for (const int i : {previous, index}) {
        if (i < 0)
            continue;
        QAccessibleStateChangeEvent event(buttons_.at(i), selection);
        QAccessible::updateAccessibility(&event);
    }
    pages_->setCurrentIndex(index);
    emit currentChanged(index);
}

QWidget* TabControl::page(int index) const {
    return pages_->widget(index);
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutStrip();
}

void TabControl::layoutStrip() {
    pages_->setGeometry(0, 0, width(), height() - kStripHeight);
    strip_->setGeometry(0, height() - kStripHeight, width(), kStripHeight);
    const int n = count();
    for (int i = 0; i < n; ++i) {
        const int left = width() * i / n;
        const int right = width() * (i + 1) / n;
        buttons_.at(i)->setGeometry(left, 0, right - left, kStripHeight);
    }
}

} // namespace dravik::ui
