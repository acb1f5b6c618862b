#pragma once

#include "ui/picture.h"

#include <QWidget>

namespace dravik::ui {

// A picture fitted into the widget with its proportions kept. Reports double-clicks; a single click
// does nothing and passes on to the parent (so the header under the logo can still be dragged).
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(const QString& resource, QWidget* parent = nullptr);

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Picture picture_;
};

} // namespace dravik::ui
