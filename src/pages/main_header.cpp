#include "pages/main_header.h"

#include "pages/page_geometry.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/picture_box.h"
#include "ui/ui_style.h"

#include <QLabel>

namespace dravik {

MainHeader::MainHeader(QWidget* parent) : ui::DragHeader(parent) {
    setObjectName(QStringLiteral("Layout_top"));
    setGeometry(0, 0, kWindowWidth, kHeaderHeight);

    Label1 = ui::makeLabel(QStringLiteral("Dravik"), ui::uiFont(20), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 0, kWindowWidth, kHeaderHeight);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Image_logo = new ui::PictureBox(ui::kLogoResource, this);
    Image_logo->setObjectName(QStringLiteral("Image_logo"));
    Image_logo->setGeometry(0, 0, 50, 50);
    Image_logo->setCursor(Qt::PointingHandCursor);
    Image_logo->setAccessibleName(QStringLiteral("Dravik"));
    Image_logo->setAccessibleDescription(QStringLiteral("双击关闭程序"));

    Button_save = new ui::ImageButton(this);
    Button_save->setObjectName(QStringLiteral("Button_save"));
    Button_save->setIcon(ui::imageIcon(ui::kImageSave));
    Button_save->setGeometry(kWindowWidth - 10 - 50, 0, 50, 50);
    Button_save->setVisible(false);
    Button_save->setEnabled(false);
    Button_save->setAccessibleName(QStringLiteral("保存设置"));
}

} // namespace dravik
