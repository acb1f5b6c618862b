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

    // The tab's controls in reading order, for the window's Tab chain.
    QList<QWidget*> focusChain() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Opens the download page in the desktop's browser.
    void openDownloadPage();

    QString downloadPage_;
    QPlainTextEdit* text_;
    QWidget* buttonRow_;
    ui::ImageButton* downloadButton_;
};

} // namespace dravik
