#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace dravik {

namespace ui {
class ImageButton;
} // namespace ui

// The help tab: the help text and the button to the download page, which shows the page's QR code.
class HelpTab : public QWidget {
    Q_OBJECT
public:
    explicit HelpTab(QString downloadPage, QWidget* parent = nullptr);

    // Opens the download page in the desktop's browser.
    void Button8Click();

    QPlainTextEdit* Memo1;
    ui::ImageButton* Button8;

private:
    QString downloadPage_;
};

} // namespace dravik
