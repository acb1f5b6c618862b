#pragma once

#include <QComboBox>

namespace dravik::ui {

// A drop-down combo whose text is its value. A read-only one lets the user only pick an entry of its
// list, yet the program may set any text into it (a settings file may hold "036" or nothing). List
// rows are 30 high. popupClosed comes once the closing pick, if any, has been applied.
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

    void hidePopup() override;

signals:
    void popupClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace dravik::ui
