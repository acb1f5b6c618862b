#pragma once

#include <QAbstractButton>

namespace dravik::ui {

// A button that draws no face of its own: only its picture, fitted inside a margin, and its caption.
// With a caption the picture sits above a caption row along the bottom edge. Without one, what it does
// is its accessible name, which its tooltip shows (unless it is given a tooltip of its own).
class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);

    void setPictureMargin(int margin);
    void setCaptionRowHeight(int height);

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int margin_ = 10;
    int captionRow_ = 0;
};

} // namespace dravik::ui
