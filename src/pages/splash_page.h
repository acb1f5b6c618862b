#pragma once

#include <QWidget>

class QLabel;

namespace dravik {

namespace ui {
class ActivityIndicator;
class PictureBox;
} // namespace ui

// The page shown while the history download runs at start-up.
class SplashPage : public QWidget {
    Q_OBJECT
public:
    explicit SplashPage(QWidget* parent = nullptr);

    // The download is over: the activity indicator stops and goes.
    void stopActivity();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ui::PictureBox* picture_;
    ui::ActivityIndicator* indicator_;
    QWidget* grid_;
    QLabel* statusLabel_;
    QLabel* noticeLabel_;
};

} // namespace dravik
