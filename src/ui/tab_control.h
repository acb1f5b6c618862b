#pragma once

#include <QAbstractButton>
#include <QList>
#include <QWidget>

class QStackedWidget;

namespace dravik::ui {

// One tab of the bottom strip: the icon in an upper row 25 high, the caption in a lower row 25 high.
// The caption turns crimson while the tab is selected or under the pointer.
class TabButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TabButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// The strip of tabs along the bottom edge; screen readers see it as a page-tab list.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

// A tab control with its strip along the bottom edge; the tabs share the strip's width. Changing the
// selected tab, by a click or by the program, emits currentChanged once; selecting the selected tab
// emits nothing. A handler may select another tab from inside currentChanged.
class TabControl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStripHeight = 50;

    explicit TabControl(QWidget* parent = nullptr);

    // The tab button gets `name` as its objectName, the content page `name` + "Page".
    int addTab(QWidget* content, const QString& name, const QIcon& icon, const QString& caption);

    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    int count() const { return int(buttons_.size()); }
    TabButton* tabButton(int index) const { return buttons_.at(index); }
    QWidget* page(int index) const;

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutStrip();

    QStackedWidget* pages_;
    TabStrip* strip_;
    QList<TabButton*> buttons_;
    int current_ = -1;
};

} // namespace dravik::ui
