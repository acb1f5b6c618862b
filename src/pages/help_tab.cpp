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
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(15, 10, kWindowWidth - 30, kTabPageHeight - 100 - 20);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFont(ui::uiFont(13));
    Memo1->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: %1; background: white; }").arg(ui::cssColor(ui::kText)));
    Memo1->setPlainText(helpText());
    // Read-only, but reachable and readable from the keyboard; Tab moves on instead of typing.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo1->setTabChangesFocus(true);
    Memo1->setFocusPolicy(Qt::StrongFocus);
    Memo1->setAccessibleName(QStringLiteral("帮助"));

    auto* layout1 = new QWidget(this);
    layout1->setObjectName(QStringLiteral("Layout1"));
    layout1->setGeometry(0, kTabPageHeight - 100, kWindowWidth, 100);
    Button8 = new ui::ImageButton(layout1);
    Button8->setObjectName(QStringLiteral("Button8"));
    Button8->setGeometry(0, 0, kWindowWidth, 100);
    Button8->setIcon(ui::imageIcon(ui::kImageUrl));
    Button8->setIconSize(QSize(100, 100));
    Button8->setPictureMargin(5);
    Button8->setCaptionRowHeight(25);
    Button8->setFont(ui::uiFont(13));
    Button8->setText(QStringLiteral("点击检查更新或扫码下载安卓版本"));
    Button8->setAccessibleDescription(downloadPage_);
    connect(Button8, &QAbstractButton::clicked, this, &HelpTab::Button8Click);
}

void HelpTab::Button8Click() {
    QDesktopServices::openUrl(QUrl(downloadPage_));
}

} // namespace dravik
