#include "ui/picture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <vector>

namespace dravik::ui {

namespace {

// The renderings of ":/images/NAME.svg" lie beside it as ":/images/NAME@WIDTHxHEIGHT.png": first at
// the size the window shows it, then at that size times each display scale up to 300 %.
struct Rendering {
    QSize size;
    QString file;
};
using Renderings = std::vector<Rendering>;

Renderings renderingsOf(const QString& resource) {
    const QFileInfo drawing(resource);
    const QString prefix = drawing.completeBaseName() + QLatin1Char('@');
    const QDir folder(drawing.path());
    Renderings renderings;
    for (const QString& name : folder.entryList({prefix + QStringLiteral("*.png")}, QDir::Files)) {
        const QStringList size = name.sliced(prefix.size()).chopped(4).split(QLatin1Char('x'));
        if (size.size() == 2)
            renderings.push_back({QSize(size[0].toInt(), size[1].toInt()), folder.filePath(name)});
    }
    std::sort(renderings.begin(), renderings.end(),
              [](const Rendering& a, const Rendering& b) { return a.size.width() < b.size.width(); });
    return renderings;
}

// The drawing at exactly these pixels, from the smallest rendering that covers them: a rendering
// made for them is taken as it is, a larger one scaled down stays sharp, a smaller one scaled up
// (past the largest scale) would blur.
QPixmap pixelsOf(const Renderings& renderings, QSize pixels) {
    if (renderings.empty() || pixels.isEmpty())
        return {};
    const auto covering = std::find_if(renderings.begin(), renderings.end(), [&](const Rendering& rendering) {
        return rendering.size.width() >= pixels.width() && rendering.size.height() >= pixels.height();
    });
    QPixmap pixmap((covering == renderings.end() ? renderings.back() : *covering).file);
    if (!pixmap.isNull() && pixmap.size() != pixels)
        pixmap = pixmap.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pixmap;
}

QSize devicePixels(const QPaintDevice* device, const QSizeF& size) {
    return (size * (device ? device->devicePixelRatioF() : 1.0)).toSize();
}

// Icons of the renderings; the disabled look is made by the style, as for any other icon.
class RenderingIconEngine : public QIconEngine {
public:
    explicit RenderingIconEngine(Renderings renderings) : renderings_(std::move(renderings)) {}

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        return renderings_.empty() ? QSize() : renderings_.front().size.scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap = pixelsOf(renderings_, actualSize(size, mode, state));
        if (mode != QIcon::Normal && !pixmap.isNull()) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        return pixmap;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        QPixmap shown = pixmap(devicePixels(painter->device(), rect.size()), mode, state);
        shown.setDevicePixelRatio(painter->device() ? painter->device()->devicePixelRatioF() : 1.0);
        painter->drawPixmap(rect, shown);
    }

    QIconEngine* clone() const override { return new RenderingIconEngine(renderings_); }
    QString key() const override { return QStringLiteral("dravik-renderings"); }

private:
    Renderings renderings_;
};

} // namespace

struct Picture::Source {
    Renderings renderings;
};

Picture::Picture(const QString& resource)
    : source_(std::make_unique<Source>(Source{renderingsOf(resource)})) {}

Picture::~Picture() = default;

QSizeF Picture::size() const {
    return source_->renderings.empty() ? QSizeF() : QSizeF(source_->renderings.front().size);
}

void Picture::draw(QPainter& painter, const QRectF& target) const {
    const QPixmap pixmap = pixelsOf(source_->renderings, devicePixels(painter.device(), target.size()));
    painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
}

QIcon pictureIcon(const QString& resource) {
    return QIcon(new RenderingIconEngine(renderingsOf(resource)));
}

} // namespace dravik::ui
