#pragma once

#include <QComboBox>
#include <QElapsedTimer>
#include <QStringList>

namespace dravik::ui {

// The entry that the text typed into a read-only list picks: the entry equal to it, else the first one
// after the current entry that starts with it, from the top again after the last; -1 when none does.
// (Equal first: in a list of numbers "5" is 5, not 50.)
int typedEntry(const QStringList& entries, const QString& typed, int current);

// A drop-down combo whose text is its value. A read-only one lets the user only pick an entry of its
// list, yet the program may set any text into it (a settings file may hold "036" or nothing). List
// rows are 30 high. popupClosed comes once the closing pick, if any, has been applied. A read-only
// combo works as a plain drop-down list: a click anywhere on it opens the list, which stays open until
// a pick, Esc or a click outside; pressing, dragging onto an entry and releasing picks it; and typing
// picks an entry (typedEntry). Every change of the text is told to screen readers.
class ChoiceCombo : public QComboBox {
    Q_OBJECT
public:
    enum class Typing { Allowed, ReadOnly };
    explicit ChoiceCombo(Typing typing, QWidget* parent = nullptr);

    // Sets the text; the list entry of that text, if any, becomes the current one.
    void setText(const QString& text);
    // Replaces the list, keeping the text.
    void replaceItems(const QStringList& items);
    void appendItems(const QStringList& items);

    bool isReadOnly() const;

    void hidePopup() override;

signals:
    void popupClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openFromPress(const QPoint& globalPos);
    bool filterPopupMouse(QObject* watched, QEvent* event);
    // Makes the entry current with its text, as a pick from the list does, and reports the pick.
    void choose(int row);

    // The release of the click that opened the list is still to come: it opens, it does not pick.
    bool releaseGuard_ = false;
    bool draggedSincePress_ = false;
    QPoint pressedAt_;
    QWidget* popup_ = nullptr; // the frame that holds the list, once it exists
    QString typed_;            // the keys typed in quick succession
    QElapsedTimer sinceTyped_;
};

} // namespace dravik::ui
