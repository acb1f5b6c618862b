#pragma once

#include <QIcon>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QRectF;

namespace dravik::ui {

// One of our drawings, named by its SVG resource (":/images/logo.svg"). On Linux it is drawn from
// the SVG; the Windows build, whose Qt has no SVG module, carries PNG renderings of it made at build
// time for every display scale, and draws the one that fits the pixels it is given.
class Picture {
public:
    explicit Picture(const QString& resource);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // The drawing's own size, which gives its proportions; empty when there is no such drawing.
    QSizeF size() const;
    // Draws the whole drawing into `target`.
    void draw(QPainter& painter, const QRectF& target) const;

private:
    struct Source;
    std::unique_ptr<Source> source_;
};

// The drawing as an icon, sharp at whatever size and pixel ratio it is shown.
QIcon pictureIcon(const QString& resource);

} // namespace dravik::ui
