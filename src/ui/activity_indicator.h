#pragma once

#include <QWidget>

class QVariantAnimation;

namespace dravik::ui {

// The splash page's turning circle.
class ActivityIndicator : public QWidget {
    Q_OBJECT
public:
    explicit ActivityIndicator(QWidget* parent = nullptr);

    void start();
    void stop();
    bool isAnimating() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation* spin_;
    qreal angle_ = 0;
};

} // namespace dravik::ui
