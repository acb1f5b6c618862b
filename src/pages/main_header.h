#pragma once

#include "ui/drag_header.h"

class QLabel;

namespace dravik {

namespace ui {
class ImageButton;
class PictureBox;
} // namespace ui

// The header of the main page: the program's name, the logo (double-click closes the program) and the
// save button of the settings tab. The window is dragged around by it.
class MainHeader : public ui::DragHeader {
    Q_OBJECT
public:
    explicit MainHeader(QWidget* parent = nullptr);

    QLabel* Label1;
    ui::PictureBox* Image_logo;
    ui::ImageButton* Button_save;
};

} // namespace dravik
