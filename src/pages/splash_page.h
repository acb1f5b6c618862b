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

    ui::PictureBox* Image2;
    ui::ActivityIndicator* AniIndicator1;
    QLabel* Label2;
    QLabel* Label3;
};

} // namespace dravik
