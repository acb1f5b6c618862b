#pragma once

#include "ui/drag_header.h"

#include <QList>

class QLabel;

namespace dravik {

namespace ui {
class ImageButton;
class PictureBox;
} // namespace ui

// The header of the main page: the program's name, the logo (double-click closes the program) and the
// save button of the settings tab, whose enabled state is the flag of unsaved settings. The window is
// dragged around by it, a double-click maximises and restores it, and a right-click on it offers
// 最大化 (还原), 最小化 and 退出, as a title bar would.
class MainHeader : public ui::DragHeader {
    Q_OBJECT
public:
    explicit MainHeader(QWidget* parent = nullptr);

    void setSaveShown(bool shown);
    void setUnsaved(bool unsaved);
    bool hasUnsavedChanges() const;

    // The header's controls in reading order, for the window's Tab chain.
    QList<QWidget*> focusChain() const;

signals:
    void saveRequested();
    // The user asks to close the program: by a double-click on the logo or 退出 in the menu.
    void closeRequested();
    void minimizeRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* title_;
    ui::PictureBox* logo_;
    ui::ImageButton* saveButton_;
};

} // namespace dravik
