#include "ui/picture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace dravik::ui {

struct Picture::Source {
    QSvgRenderer renderer;
};

Picture::Picture(const QString& resource) : source_(std::make_unique<Source>()) {
    source_->renderer.load(resource);
}

Picture::~Picture() = default;

QSizeF Picture::size() const {
    return source_->renderer.defaultSize();
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    source_->renderer.render(&painter, target);
}

QIcon pictureIcon(const QString& resource) {
    return QIcon(resource);
}

} // namespace dravik::ui
