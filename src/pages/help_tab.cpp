#include "pages/help_tab.h"

#include "pages/help_text.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/ui_style.h"

#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QUrl>
#include <algorithm>

namespace dravik {

namespace {
constexpr int kButtonRowHeight = 100;
} // namespace

HelpTab::HelpTab(QString downloadPage, QWidget* parent)
    : QWidget(parent), downloadPage_(std::move(downloadPage)) {
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Memo1"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Where the window is short the text scrolls, and shows that it does.
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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

    buttonRow_ = new QWidget(this);
    buttonRow_->setObjectName(QStringLiteral("Layout1"));
    downloadButton_ = new ui::ImageButton(buttonRow_);
    downloadButton_->setObjectName(QStringLiteral("Button8"));
    downloadButton_->setIcon(ui::imageIcon(ui::kImageUrl));
    downloadButton_->setIconSize(QSize(100, 100));
    downloadButton_->setPictureMargin(5);
    downloadButton_->setCaptionRowHeight(25);
    downloadButton_->setFont(ui::uiFont(13));
    downloadButton_->setText(QStringLiteral("点击检查更新或扫码下载安卓版本"));
    downloadButton_->setAccessibleDescription(downloadPage_);
    connect(downloadButton_, &QAbstractButton::clicked, this, &HelpTab::openDownloadPage);
}

void HelpTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The button row keeps its height at the bottom; the text takes what is left.
    text_->setGeometry(15, 10, width() - 30, std::max(0, height() - kButtonRowHeight - 20));
    buttonRow_->setGeometry(0, height() - kButtonRowHeight, width(), kButtonRowHeight);
    downloadButton_->setGeometry(0, 0, width(), kButtonRowHeight);
}

void HelpTab::openDownloadPage() {
    QDesktopServices::openUrl(QUrl(downloadPage_));
}

QList<QWidget*> HelpTab::focusChain() const {
    return {text_, downloadButton_};
}

} // namespace dravik
