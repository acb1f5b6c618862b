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
    picture_ = new ui::PictureBox(ui::kSplashResource, this);
    picture_->setObjectName(QStringLiteral("Image2"));
    picture_->setGeometry(0, 0, kWindowWidth, 616);

    indicator_ = new ui::ActivityIndicator(this);
    indicator_->setObjectName(QStringLiteral("AniIndicator1"));
    indicator_->setGeometry(0, 616, kWindowWidth, 50);
    indicator_->start();

    auto* grid = new QWidget(this);
    grid->setObjectName(QStringLiteral("GridLayout1"));
    grid->setGeometry(0, 666, kWindowWidth, 100);
    // Cells are 495 wide, wider than the page: each takes a row, and the texts centre on 495.
    statusLabel_ = ui::makeLabel(QStringLiteral("正在更新数据…"), ui::uiFont(11), grid);
    statusLabel_->setObjectName(QStringLiteral("Label2"));
    statusLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    statusLabel_->setGeometry(0, 0, 495, 50);
    noticeLabel_ = ui::makeLabel(QStringLiteral("数据仅供参考 · 理性购彩"), ui::uiFont(11), grid);
    noticeLabel_->setObjectName(QStringLiteral("Label3"));
    noticeLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    noticeLabel_->setGeometry(0, 50, 495, 50);
}

void SplashPage::stopActivity() {
    indicator_->stop();
    indicator_->hide();
}

} // namespace dravik
