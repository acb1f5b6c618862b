#include "pages/trend_picture.h"

#include "ui/ui_style.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace dravik {

namespace {

constexpr int kPixelRatio = 2;
// The raster engine's coordinates stay exact only up to here; a taller picture is refused.
constexpr int kMaxPixels = 32767;
constexpr int kCheckPadding = 8;

const QColor kBall(0xE0, 0x28, 0x2E);
const QColor kGridLine(0xD6, 0xE4, 0xF5);
const QColor kHeaderFill(0xF2, 0xF7, 0xFF);

// Room around a cell's text, as an item view leaves it.
constexpr int kCellPadding = 12;

int columnsWidth(const TrendChart& chart, const TrendColumns& columns) {
    return columns.period + columns.number + chart.groupCount() * columns.group;
}

int checkHeight(const QString& check) {
    const int lines = check.isEmpty() ? 0 : int(check.count(QLatin1Char('\n'))) + 1;
    return lines * QFontMetrics(trendFont()).lineSpacing() + 2 * kCheckPadding;
}

void paintBall(QPainter& painter, const QRectF& cell, const QString& number) {
    const qreal side = std::min(cell.width(), cell.height()) - 3;
    const QRectF ball(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBall);
    painter.drawEllipse(ball);
    painter.setPen(Qt::white);
    painter.drawText(cell, Qt::AlignCenter, number);
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

void paintPicture(QPainter& painter, const TrendChart& chart, const TrendColumns& widths,
                  const QString& check, const QSize& size) {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    painter.setFont(trendFont());
    const int columns = 2 + chart.groupCount();
    const int width = columnsWidth(chart, widths);
    const int rowsTop = kTrendHeaderHeight;
    const int footerTop = rowsTop + chart.rowCount() * kTrendRowHeight;
    const int footerBottom = footerTop + kTrendFooterCount * kTrendRowHeight;

    painter.fillRect(QRect(0, 0, width, kTrendHeaderHeight), kHeaderFill);
    painter.fillRect(QRect(0, footerTop, width, footerBottom - footerTop), kHeaderFill);
    painter.setPen(kGridLine);
    for (int y = rowsTop; y <= footerBottom; y += kTrendRowHeight)
        painter.drawLine(0, y, width, y);
    for (int column = 0, x = 0; column <= columns; x += widths.width(column), ++column)
        painter.drawLine(x, 0, x, footerBottom);

    QStringList texts;
    for (int column = 0; column < columns; ++column)
        texts.append(column == 0   ? QStringLiteral("期数")
                     : column == 1 ? QStringLiteral("号码")
                                   : QString::number(column - 1));
    paintTextRow(painter, widths, 0, kTrendHeaderHeight, texts, [](int) { return ui::kText; });

    for (int row = 0; row < chart.rowCount(); ++row) {
        texts = {chart.period(row), chart.number(row)};
        for (int g = 0; g < chart.groupCount(); ++g)
            texts.append(chart.hits(row, g) ? QString() : QString::number(chart.omission(row, g)));
        paintTextRow(painter, widths, rowsTop + row * kTrendRowHeight, kTrendRowHeight, texts,
                     [](int column) { return column < 2 ? ui::kText : trendOmissionColour(); });
    }
    const int groupsLeft = widths.period + widths.number;
    paintTrendMarks(painter, chart, 0, chart.rowCount() - 1, [&](int row, int group) {
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

TrendColumns trendColumns(const TrendChart& chart) {
    const QFontMetrics metrics(trendFont());
    const auto fit = [&](const QString& text) { return metrics.horizontalAdvance(text) + kCellPadding; };
    TrendColumns columns;
    columns.period = fit(QStringLiteral("期数"));
    columns.number = fit(QStringLiteral("号码"));
    columns.group = fit(QString::number(chart.groupCount()));
    int widest = 0;
    for (int row = 0; row < chart.rowCount(); ++row) {
        columns.period = std::max(columns.period, fit(chart.period(row)));
        columns.number = std::max(columns.number, fit(chart.number(row)));
        for (int g = 0; g < chart.groupCount(); ++g)
            widest = std::max(widest, chart.omission(row, g));
    }
    columns.group = std::max({columns.group, columns.number, fit(QString::number(widest))});
    for (const TrendFigures& figures : chart.figures) {
        for (int f = 0; f < kTrendFooterCount; ++f)
            columns.group = std::max(columns.group, fit(trendFooterText(figures, TrendFooter(f))));
    }
    columns.period = std::max(columns.period, fit(trendFooterName(TrendFooter::Hits)));
    return columns;
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
    for (int row = firstRow; row < lastRow; ++row) {
        const int from = chart.hitGroup[row];
        const int to = chart.hitGroup[row + 1];
        if (from >= 0 && to >= 0)
            painter.drawLine(cellRect(row, from).center(), cellRect(row + 1, to).center());
    }
    for (int row = firstRow; row <= lastRow; ++row) {
        const int group = chart.hitGroup[row];
        if (group >= 0)
            paintBall(painter, cellRect(row, group), chart.number(row));
    }
    painter.restore();
}

namespace {

// Measuring the columns measures every cell: an export does it once, for the size and the painting.
QSize pictureSize(const TrendChart& chart, const TrendColumns& widths, const QString& check) {
    const QFontMetrics metrics(trendFont());
    int checkWidth = 0;
    for (const QString& line : check.split(QLatin1Char('\n')))
        checkWidth = std::max(checkWidth, metrics.horizontalAdvance(line));
    const int width = std::max(columnsWidth(chart, widths), checkWidth + 2 * kCheckPadding);
    const int height =
        kTrendHeaderHeight + (chart.rowCount() + kTrendFooterCount) * kTrendRowHeight + checkHeight(check);
    return QSize(width, height);
}

} // namespace

QSize trendPictureSize(const TrendChart& chart, const QString& check) {
    return pictureSize(chart, trendColumns(chart), check);
}

std::optional<QByteArray> trendPng(const TrendChart& chart, const QString& check, QString* reason) {
    const TrendColumns widths = trendColumns(chart);
    const QSize size = pictureSize(chart, widths, check);
    const QSize pixels = size * kPixelRatio;
    if (pixels.width() > kMaxPixels || pixels.height() > kMaxPixels) {
        *reason = QStringLiteral("图片过大（%1×%2像素），请选较短的统计期数")
                      .arg(pixels.width())
                      .arg(pixels.height());
        return std::nullopt;
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        *reason = QStringLiteral("内存不足");
        return std::nullopt;
    }
    image.setDevicePixelRatio(kPixelRatio);
    {
        QPainter painter(&image);
        paintPicture(painter, chart, widths, check, size);
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
