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
// dragged around by it.
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
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* title_;
    ui::PictureBox* logo_;
    ui::ImageButton* saveButton_;
};

} // namespace dravik
