#include "pages/splash_page.h"

#include "ui/activity_indicator.h"
#include "ui/image_list.h"
#include "ui/picture_box.h"
#include "ui/ui_style.h"

#include <QLabel>
#include <algorithm>

namespace dravik {

namespace {
constexpr int kIndicatorHeight = 50;
constexpr int kGridHeight = 100;
} // namespace

SplashPage::SplashPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Tab1"));
    picture_ = new ui::PictureBox(ui::kSplashResource, this);
    picture_->setObjectName(QStringLiteral("Image2"));

    indicator_ = new ui::ActivityIndicator(this);
    indicator_->setObjectName(QStringLiteral("AniIndicator1"));
    indicator_->start();

    grid_ = new QWidget(this);
    grid_->setObjectName(QStringLiteral("GridLayout1"));
    // Cells are 495 wide, wider than the page: each takes a row, and the texts centre on 495.
    statusLabel_ = ui::makeLabel(QStringLiteral("正在更新数据…"), ui::uiFont(11), grid_);
    statusLabel_->setObjectName(QStringLiteral("Label2"));
    statusLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    statusLabel_->setGeometry(0, 0, 495, 50);
    noticeLabel_ = ui::makeLabel(QStringLiteral("数据仅供参考 · 理性购彩"), ui::uiFont(11), grid_);
    noticeLabel_->setObjectName(QStringLiteral("Label3"));
    noticeLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    noticeLabel_->setGeometry(0, 50, 495, 50);
}

void SplashPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The indicator and the texts keep their heights at the bottom; the picture, fitted into what is
    // left, gets smaller on a short window.
    const int gridTop = height() - kGridHeight;
    const int indicatorTop = gridTop - kIndicatorHeight;
    picture_->setGeometry(0, 0, width(), std::max(0, indicatorTop));
    indicator_->setGeometry(0, indicatorTop, width(), kIndicatorHeight);
    grid_->setGeometry(0, gridTop, width(), kGridHeight);
}

void SplashPage::stopActivity() {
    indicator_->stop();
    indicator_->hide();
}

} // namespace dravik
