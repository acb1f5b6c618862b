#include "pages/trend_picture.h"

#include "ui/ui_style.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSet>
#include <QVarLengthArray>
#include <algorithm>
#include <cmath>

namespace dravik {

namespace {

constexpr int kPixelRatio = 2;
// The raster engine's coordinates stay exact only up to here: a wider picture is refused, a taller one
// cut into pages.
constexpr int kMaxPixels = 32767;
constexpr qint64 kMaxPageBytes = qint64(256) << 20;
constexpr int kCheckPadding = 8;

const QColor kBall(0xE0, 0x28, 0x2E);
const QColor kCount(0xF0, 0x8A, 0x00);
const QColor kGridLine(0xD6, 0xE4, 0xF5);
const QColor kHeaderFill(0xF2, 0xF7, 0xFF);

// The metrics of trendFont() on the picture, the device it is drawn on.
QFontMetricsF pictureMetrics() {
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    device.setDevicePixelRatio(kPixelRatio);
    return QFontMetricsF(trendFont(), &device);
}

int textWidth(const QFontMetricsF& metrics, const QString& text) {
    return int(std::ceil(metrics.horizontalAdvance(text)));
}

int columnsWidth(const TrendChart& chart, const TrendColumns& columns) {
    return columns.period + columns.number + chart.groupCount() * columns.group;
}

int checkHeight(const QString& check) {
    const int lines = check.isEmpty() ? 0 : int(check.count(QLatin1Char('\n'))) + 1;
    return lines * int(std::ceil(pictureMetrics().lineSpacing())) + 2 * kCheckPadding;
}

// A number drawn is a red ball; a count of the numbers drawn in one group an orange square with
// rounded corners, so that a count never reads as a number.
enum class Mark { Ball, Count };

void paintMark(QPainter& painter, const QRectF& cell, const QString& text, Mark mark) {
    const qreal side = std::min(cell.width(), cell.height()) - 3;
    const QRectF shape(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
    painter.setPen(Qt::NoPen);
    if (mark == Mark::Ball) {
        painter.setBrush(kBall);
        painter.drawEllipse(shape);
    } else {
        painter.setBrush(kCount);
        painter.drawRoundedRect(shape, side / 4, side / 4);
    }
    painter.setPen(Qt::white);
    painter.drawText(cell, Qt::AlignCenter, text);
}

// One row of texts across the columns, left to right from x = 0.
void paintTextRow(QPainter& painter, const TrendColumns& columns, qreal top, qreal height,
                  const QStringList& texts, const std::function<QColor(int column)>& colour) {
    qreal left = 0;
    for (int column = 0; column < texts.size(); ++column) {
        const QRectF cell(left, top, columns.width(column), height);
        painter.setPen(colour(column));
        painter.drawText(cell, Qt::AlignCenter, texts[column]);
        left += cell.width();
    }
}

// The header row at the top of the painter, as wide as the picture: the first page's and every
// other's alike.
void paintHeader(QPainter& painter, const TrendChart& chart, const TrendColumns& widths, int pictureWidth) {
    const int columns = 2 + chart.groupCount();
    const int width = columnsWidth(chart, widths);
    painter.fillRect(QRect(0, 0, pictureWidth, kTrendHeaderHeight), Qt::white);
    painter.fillRect(QRect(0, 0, width, kTrendHeaderHeight), kHeaderFill);
    painter.setPen(kGridLine);
    painter.drawLine(0, kTrendHeaderHeight, width, kTrendHeaderHeight);
    for (int column = 0, x = 0; column <= columns; x += widths.width(column), ++column)
        painter.drawLine(x, 0, x, kTrendHeaderHeight);
    QStringList texts;
    for (int column = 0; column < columns; ++column)
        texts.append(column == 0   ? QStringLiteral("期数")
                     : column == 1 ? QStringLiteral("号码")
                                   : QString::number(column - 1));
    paintTextRow(painter, widths, 0, kTrendHeaderHeight, texts, [](int) { return ui::kText; });
}

// The picture between `top` (logical pixels, the painter translated to `top`): the rows
// outside are not painted at all, so that a long chart is painted once over all its pages.
void paintPicture(QPainter& painter, const TrendChart& chart, const TrendColumns& widths,
                  const QString& check, const QSize& size, int top, int bottom) {
    painter.fillRect(QRect(QPoint(0, top), QSize(size.width(), bottom - top)), Qt::white);
    painter.setFont(trendFont());
    const int columns = 2 + chart.groupCount();
    const int width = columnsWidth(chart, widths);
    const int rowsTop = kTrendHeaderHeight;
    const int footerTop = rowsTop + chart.rowCount() * kTrendRowHeight;
    const int footerBottom = footerTop + kTrendFooterCount * kTrendRowHeight;
    // The rows that show on this page, and one more each way for the line joining them.
    const int firstRow = std::max(0, (top - rowsTop) / kTrendRowHeight - 1);
    const int lastRow = std::min(chart.rowCount() - 1, (bottom - rowsTop) / kTrendRowHeight + 1);

    painter.fillRect(QRect(0, footerTop, width, footerBottom - footerTop), kHeaderFill);
    painter.setPen(kGridLine);
    for (int y = std::max(rowsTop, rowsTop + firstRow * kTrendRowHeight); y <= std::min(footerBottom, bottom);
         y += kTrendRowHeight)
        painter.drawLine(0, y, width, y);
    for (int column = 0, x = 0; column <= columns; x += widths.width(column), ++column)
        painter.drawLine(x, 0, x, footerBottom);
    if (top < kTrendHeaderHeight)
        paintHeader(painter, chart, widths, size.width());

    QStringList texts;
    for (int row = firstRow; row <= lastRow; ++row) {
        texts = {chart.period(row), chart.number(row)};
        for (int g = 0; g < chart.groupCount(); ++g)
            texts.append(chart.hits(row, g) ? QString() : QString::number(chart.omission(row, g)));
        paintTextRow(painter, widths, rowsTop + row * kTrendRowHeight, kTrendRowHeight, texts,
                     [](int column) { return column < 2 ? ui::kText : trendOmissionColour(); });
    }
    const int groupsLeft = widths.period + widths.number;
    paintTrendMarks(painter, chart, firstRow, lastRow, [&](int row, int group) {
        return QRectF(groupsLeft + group * widths.group, rowsTop + row * kTrendRowHeight, widths.group,
                      kTrendRowHeight);
    });

    for (int f = 0; f < kTrendFooterCount; ++f) {
        texts = {trendFooterName(TrendFooter(f)), QString()};
        for (const TrendFigures& figures : chart.figures)
            texts.append(trendFooterText(figures, TrendFooter(f)));
        paintTextRow(painter, widths, footerTop + f * kTrendRowHeight, kTrendRowHeight, texts,
                     [](int) { return ui::kText; });
    }

    painter.setPen(ui::kText);
    painter.drawText(QRect(kCheckPadding, footerBottom + kCheckPadding, size.width() - 2 * kCheckPadding,
                           size.height() - footerBottom - 2 * kCheckPadding),
                     Qt::AlignLeft | Qt::AlignTop, check);
}

} // namespace

TrendColumns trendColumns(const TrendChart& chart, const TrendTextFits& fits) {
    const int padding = kTrendCellPadding;
    const int groupPadding = chart.drawsTrendLine() ? kTrendCellPadding : kTrendNarrowPadding;
    TrendColumns columns;
    columns.period = fits.caption(QStringLiteral("期数"), padding);
    columns.number = fits.caption(QStringLiteral("号码"), padding);
    columns.group = fits.caption(QString::number(chart.groupCount()), groupPadding);
    int widest = 0;
    // What the balls show: for one number a draw its number; for several, one number or a count,
    // never the whole draw, so that 33 groups of one number fit side by side.
    QSet<QString> marks;
    for (int row = 0; row < chart.rowCount(); ++row) {
        columns.period = std::max(columns.period, fits.fixed(chart.period(row), padding));
        columns.number = std::max(columns.number, fits.fixed(chart.number(row), padding));
        if (chart.drawsTrendLine()) {
            columns.group = std::max(columns.group, fits.group(chart.number(row), groupPadding));
        } else {
            for (std::size_t h = chart.hitStart[row]; h < chart.hitStart[row + 1]; ++h)
                marks.insert(chart.cellText(row, chart.hitNumbers[h].group));
        }
        for (int g = 0; g < chart.groupCount(); ++g)
            widest = std::max(widest, chart.omission(row, g));
    }
    for (const QString& mark : std::as_const(marks))
        columns.group = std::max(columns.group, fits.group(mark, groupPadding));
    // One number a draw: no narrower than the 号码 column, whose numbers its balls show.
    if (chart.drawsTrendLine())
        columns.group = std::max(columns.group, columns.number);
    columns.group = std::max(columns.group, fits.group(QString::number(widest), groupPadding));
    for (const TrendFigures& figures : chart.figures) {
        for (int f = 0; f < kTrendFooterCount; ++f)
            columns.group =
                std::max(columns.group, fits.group(trendFooterText(figures, TrendFooter(f)), groupPadding));
    }
    for (int f = 0; f < kTrendFooterCount; ++f)
        columns.period = std::max(columns.period, fits.fixed(trendFooterName(TrendFooter(f)), padding));
    return columns;
}

TrendColumns trendColumns(const TrendChart& chart) {
    const QFontMetricsF metrics = pictureMetrics();
    const TrendTextFit fit = [&metrics](const QString& text, int padding) {
        return textWidth(metrics, text) + padding;
    };
    return trendColumns(chart, {fit, fit, fit});
}

QFont trendFont() {
    return ui::uiFont(9);
}

QColor trendOmissionColour() {
    return QColor(0x9A, 0x9A, 0x9A);
}

void paintTrendMarks(QPainter& painter, const TrendChart& chart, int firstRow, int lastRow,
                     const std::function<QRectF(int row, int group)>& cellRect) {
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, chart.rowCount() - 1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ui::kCrimson, 1.5));
    if (chart.drawsTrendLine()) {
        for (int row = firstRow; row < lastRow; ++row) {
            const int from = chart.hitGroup[row];
            const int to = chart.hitGroup[row + 1];
            if (from >= 0 && to >= 0)
                painter.drawLine(cellRect(row, from).center(), cellRect(row + 1, to).center());
        }
        for (int row = firstRow; row <= lastRow; ++row) {
            const int group = chart.hitGroup[row];
            if (group >= 0)
                paintMark(painter, cellRect(row, group), chart.number(row), Mark::Ball);
        }
    } else {
        // A draw of several numbers has a mark in every group it hits: a ball with the number or,
        // where several fall in one group, their count in a square.
        for (int row = firstRow; row <= lastRow; ++row) {
            QVarLengthArray<int, 8> painted;
            for (std::size_t i = chart.hitStart[row]; i < chart.hitStart[row + 1]; ++i) {
                const int group = chart.hitNumbers[i].group;
                if (std::find(painted.cbegin(), painted.cend(), group) != painted.cend())
                    continue;
                painted.append(group);
                paintMark(painter, cellRect(row, group), chart.cellText(row, group),
                          chart.hitCount(row, group) > 1 ? Mark::Count : Mark::Ball);
            }
        }
    }
    painter.restore();
}

namespace {

// Measuring the columns measures every cell: an export does it once, for the size and the painting.
QSize pictureSize(const TrendChart& chart, const TrendColumns& widths, const QString& check) {
    const QFontMetricsF metrics = pictureMetrics();
    int checkWidth = 0;
    for (const QString& line : check.split(QLatin1Char('\n')))
        checkWidth = std::max(checkWidth, textWidth(metrics, line));
    const int width = std::max(columnsWidth(chart, widths), checkWidth + 2 * kCheckPadding);
    const int height =
        kTrendHeaderHeight + (chart.rowCount() + kTrendFooterCount) * kTrendRowHeight + checkHeight(check);
    return QSize(width, height);
}

} // namespace

QSize trendPictureSize(const TrendChart& chart, const QString& check) {
    return pictureSize(chart, trendColumns(chart), check);
}

QList<int> trendPageBreaks(int rows, int checkHeight, int limit) {
    QList<int> breaks{0};
    int y = 0;    // in the whole picture
    int page = 0; // the height of the page being filled
    const auto add = [&](int height) {
        if (page + height > limit && y > breaks.last()) {
            breaks.append(y);
            page = kTrendHeaderHeight;
        }
        y += height;
        page += height;
    };
    add(kTrendHeaderHeight);
    for (int row = 0; row < rows + kTrendFooterCount; ++row)
        add(kTrendRowHeight);
    add(checkHeight);
    breaks.append(y);
    return breaks;
}

QString trendPagePath(const QString& path, int page) {
    const QString suffix = QStringLiteral(".png");
    const QString base = path.endsWith(suffix, Qt::CaseInsensitive) ? path.chopped(suffix.size()) : path;
    return QStringLiteral("%1-%2%3").arg(base).arg(page).arg(suffix);
}

QStringList trendPagePaths(const QString& path, int pages) {
    if (pages == 1)
        return {path};
    QStringList paths;
    for (int page = 1; page <= pages; ++page)
        paths.append(trendPagePath(path, page));
    return paths;
}

QString trendPageNames(const QString& path, const QList<int>& pages) {
    const auto name = [&](int page) { return QFileInfo(trendPagePath(path, page)).fileName(); };
    QStringList parts;
    for (qsizetype first = 0, last = 0; first < pages.size(); first = last + 1) {
        last = first;
        while (last + 1 < pages.size() && pages[last + 1] == pages[last] + 1)
            ++last;
        if (last > first) {
            parts.append(name(pages[first]) + QStringLiteral(" … ") + name(pages[last]));
        } else {
            for (qsizetype i = first; i <= last; ++i)
                parts.append(name(pages[i]));
        }
    }
    return parts.join(QStringLiteral("、"));
}

QSize TrendPicture::pageSize(int page) const {
    const int header = page > 0 ? kTrendHeaderHeight : 0;
    return QSize(size.width(), header + breaks[page + 1] - breaks[page]);
}

std::optional<TrendPicture> planTrendPicture(const TrendChart& chart, const QString& check, QString* reason) {
    TrendPicture picture;
    picture.columns = trendColumns(chart);
    picture.size = pictureSize(chart, picture.columns, check);
    const int width = picture.size.width();
    if (width > kMaxPixels) {
        *reason = QStringLiteral("图片过宽（%1像素），请减少分组").arg(width);
        return std::nullopt;
    }
    // Only the width can keep a picture from twice its pixels: the height is cut into pages.
    picture.pixelRatio = width * kPixelRatio <= kMaxPixels ? kPixelRatio : 1;
    // A page's pixels are also kept to what any machine the program runs on can hold (256 MiB).
    const qint64 rowBytes = qint64(width) * picture.pixelRatio * 4;
    const int limit = int(std::min<qint64>(kMaxPixels, kMaxPageBytes / rowBytes)) / picture.pixelRatio;
    picture.breaks = trendPageBreaks(chart.rowCount(), checkHeight(check), limit);
    return picture;
}

std::optional<QByteArray> trendPicturePage(const TrendPicture& picture, const TrendChart& chart,
                                           const QString& check, int page, QString* reason) {
    const int top = picture.breaks[page];
    const int bottom = picture.breaks[page + 1];
    QImage image(picture.pageSize(page) * picture.pixelRatio, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        *reason = QStringLiteral("内存不足");
        return std::nullopt;
    }
    image.setDevicePixelRatio(picture.pixelRatio);
    {
        QPainter painter(&image);
        // A later page shows its part of the picture under a header row of its own, painted last over
        // what of the rows above reaches into it.
        const int header = page > 0 ? kTrendHeaderHeight : 0;
        painter.translate(0, header - top);
        paintPicture(painter, chart, picture.columns, check, picture.size, top, bottom);
        if (page > 0) {
            painter.resetTransform();
            paintHeader(painter, chart, picture.columns, picture.size.width());
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        *reason = writer.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace dravik
