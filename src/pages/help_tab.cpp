#include "pages/help_tab.h"

#include "pages/help_text.h"
#include "pages/page_geometry.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/ui_style.h"

#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QUrl>

namespace dravik {

HelpTab::HelpTab(QString downloadPage, QWidget* parent)
    : QWidget(parent), downloadPage_(std::move(downloadPage)) {
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setGeometry(15, 10, kWindowWidth - 30, kTabPageHeight - 100 - 20);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setFont(ui::uiFont(13));
    text_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: %1; background: white; }").arg(ui::cssColor(ui::kText)));
    text_->setPlainText(helpText());
    // Read-only, but reachable and readable from the keyboard; Tab moves on instead of typing.
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setTabChangesFocus(true);
    text_->setFocusPolicy(Qt::StrongFocus);
    text_->setAccessibleName(QStringLiteral("帮助"));

    auto* buttonRow = new QWidget(this);
    buttonRow->setObjectName(QStringLiteral("Layout1"));
    buttonRow->setGeometry(0, kTabPageHeight - 100, kWindowWidth, 100);
    downloadButton_ = new ui::ImageButton(buttonRow);
    downloadButton_->setObjectName(QStringLiteral("Button8"));
    downloadButton_->setGeometry(0, 0, kWindowWidth, 100);
    downloadButton_->setIcon(ui::imageIcon(ui::kImageUrl));
    downloadButton_->setIconSize(QSize(100, 100));
    downloadButton_->setPictureMargin(5);
    downloadButton_->setCaptionRowHeight(25);
    downloadButton_->setFont(ui::uiFont(13));
    downloadButton_->setText(QStringLiteral("点击检查更新或扫码下载安卓版本"));
    downloadButton_->setAccessibleDescription(downloadPage_);
    connect(downloadButton_, &QAbstractButton::clicked, this, &HelpTab::openDownloadPage);
}

void HelpTab::openDownloadPage() {
    QDesktopServices::openUrl(QUrl(downloadPage_));
}

QList<QWidget*> HelpTab::focusChain() const {
    return {text_, downloadButton_};
}

} // namespace dravik
