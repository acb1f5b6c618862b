#include "pages/splash_page.h"

#include "pages/page_geometry.h"
#include "ui/activity_indicator.h"
#include "ui/image_list.h"
#include "ui/picture_box.h"
#include "ui/ui_style.h"

#include <QLabel>

namespace dravik {

SplashPage::SplashPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Tab1"));
    Image2 = new ui::PictureBox(ui::kSplashResource, this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(0, 0, kWindowWidth, 616);

    AniIndicator1 = new ui::ActivityIndicator(this);
    AniIndicator1->setObjectName(QStringLiteral("AniIndicator1"));
    AniIndicator1->setGeometry(0, 616, kWindowWidth, 50);
    AniIndicator1->start();

    auto* grid = new QWidget(this);
    grid->setObjectName(QStringLiteral("GridLayout1"));
    grid->setGeometry(0, 666, kWindowWidth, 100);
    // Cells are 495 wide, wider than the page: each takes a row, and the texts centre on 495.
    Label2 = ui::makeLabel(QStringLiteral("正在更新数据…"), ui::uiFont(11), grid);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    Label2->setGeometry(0, 0, 495, 50);
    Label3 = ui::makeLabel(QStringLiteral("数据仅供参考 · 理性购彩"), ui::uiFont(11), grid);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setGeometry(0, 50, 495, 50);
}

} // namespace dravik
