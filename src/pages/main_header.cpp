#include "pages/main_header.h"

#include "pages/page_geometry.h"
#include "ui/image_button.h"
#include "ui/image_list.h"
#include "ui/picture_box.h"
#include "ui/ui_style.h"
#include "ui/window_frame.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>

namespace dravik {

MainHeader::MainHeader(QWidget* parent) : ui::DragHeader(parent) {
    setObjectName(QStringLiteral("Layout_top"));
    setFixedHeight(kHeaderHeight);

    title_ = ui::makeLabel(QStringLiteral("Dravik"), ui::uiFont(20), this);
    title_->setObjectName(QStringLiteral("Label1"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);

    logo_ = new ui::PictureBox(ui::kLogoResource, this);
    logo_->setObjectName(QStringLiteral("Image_logo"));
    logo_->setGeometry(0, 0, 50, 50);
    logo_->setCursor(Qt::PointingHandCursor);
    logo_->setAccessibleName(QStringLiteral("Dravik"));
    // The window has no title bar: what closes it is said where the pointer and a screen reader find it.
    logo_->setToolTip(QStringLiteral("双击退出"));
    logo_->setAccessibleDescription(QStringLiteral("双击退出；右键单击标题栏可最大化、最小化或退出"));

    saveButton_ = new ui::ImageButton(this);
    saveButton_->setObjectName(QStringLiteral("Button_save"));
    saveButton_->setIcon(ui::imageIcon(ui::kImageSave));
    saveButton_->setVisible(false);
    saveButton_->setEnabled(false);
    saveButton_->setAccessibleName(QStringLiteral("保存设置"));

    connect(logo_, &ui::PictureBox::doubleClicked, this, &MainHeader::closeRequested);
    connect(saveButton_, &QAbstractButton::clicked, this, &MainHeader::saveRequested);
}

void MainHeader::contextMenuEvent(QContextMenuEvent* event) {
    // What the title bar of a window offers, for a window that has none.
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupMenu_window"));
    menu.setFont(ui::uiFont(11));
    ui::WindowFrame* frame = ui::WindowFrame::of(this);
    QAction* maximize = nullptr;
    if (frame)
        maximize = menu.addAction(frame->isMaximized() ? QStringLiteral("还原") : QStringLiteral("最大化"));
    QAction* minimize = menu.addAction(QStringLiteral("最小化"));
    QAction* quit = menu.addAction(QStringLiteral("退出"));
    // Acted on once the menu has gone, so that the question about unsaved settings has the screen to
    // itself.
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen && chosen == maximize)
        frame->toggleMaximized();
    else if (chosen == minimize)
        emit minimizeRequested();
    else if (chosen == quit)
        emit closeRequested();
}

void MainHeader::resizeEvent(QResizeEvent* event) {
    ui::DragHeader::resizeEvent(event);
    title_->setGeometry(0, 0, width(), kHeaderHeight);
    saveButton_->setGeometry(width() - 10 - 50, 0, 50, 50);
}

void MainHeader::setSaveShown(bool shown) {
    saveButton_->setVisible(shown);
}

void MainHeader::setUnsaved(bool unsaved) {
    saveButton_->setEnabled(unsaved);
}

bool MainHeader::hasUnsavedChanges() const {
    return saveButton_->isEnabled();
}

QList<QWidget*> MainHeader::focusChain() const {
    return {saveButton_};
}

} // namespace dravik
