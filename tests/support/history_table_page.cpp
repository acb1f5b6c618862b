#include "history_table_page.h"

#include "storage/text_codec.h"

#include <QDate>
#include <algorithm>

namespace dravik::test {

namespace {

QString twoDigits(int number) {
    return QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
}

QStringList captions() {
    QStringList captions{QStringLiteral("期号"), QStringLiteral("开奖日期")};
    for (int i = 1; i <= 6; ++i)
        captions.append(QStringLiteral("红球%1").arg(i));
    captions.append(QStringLiteral("蓝球"));
    return captions;
}

} // namespace

QString LotteryDraw::tableLine() const {
    return (QStringList{period, date} + reds + QStringList{blue}).join(u'\t');
}

QList<LotteryDraw> lotteryDraws(int count, unsigned seed) {
    QList<LotteryDraw> draws;
    unsigned state = seed;
    const auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return int((state >> 16) % unsigned(range)) + 1;
    };
    QDate date(2023, 1, 1); // a Sunday
    int numberInYear = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            const QDate previous = date;
            date = date.addDays(date.dayOfWeek() == Qt::Thursday ? 3 : 2);
            numberInYear = date.year() == previous.year() ? numberInYear : 0;
        }
        ++numberInYear;
        QList<int> reds;
        while (reds.size() < 6) {
            const int red = next(33);
            if (!reds.contains(red))
                reds.append(red);
        }
        std::sort(reds.begin(), reds.end());
        LotteryDraw draw;
        draw.period = QStringLiteral("%1%2").arg(date.year()).arg(numberInYear, 3, 10, QChar(u'0'));
        draw.date = date.toString(Qt::ISODate);
        for (int red : reds)
            draw.reds.append(twoDigits(red));
        draw.blue = twoDigits(next(16));
        draws.append(draw);
    }
    return draws;
}

QString tableHeaderLine() {
    return captions().join(u'\t');
}

QStringList historyTableLines(const QList<LotteryDraw>& draws) {
    QStringList lines{tableHeaderLine()};
    for (auto draw = draws.crbegin(); draw != draws.crend(); ++draw)
        lines.append(draw->tableLine());
    return lines;
}

QByteArray historyTablePage(const QList<LotteryDraw>& draws, PageCharset charset) {
    QString page = QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                                  "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
                                  "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n");
    page +=
        charset == PageCharset::Gbk
            ? QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" />\n")
            : QStringLiteral("<meta charset=\"utf-8\">\n");
    page +=
        QStringLiteral(
            "<title>双色球历史开奖数据 - 开奖公告</title>\n"
            "<style type=\"text/css\">table.kj td { padding: 2px 4px; } .red { color: #c00; }</style>\n"
            "<script type=\"text/javascript\">var sample = \"<table><tr><td>2000001</td></tr></table>\";\n"
            "function later(a, b) { return a < b && b > 0; }</script>\n"
            "</head>\n<body>\n"
            "<div class=\"nav\"><a href=\"/\">首页</a> | <a href=\"/kj/\">开奖公告</a> | "
            "<a href=\"/zs/\">走势图</a></div>\n"
            "<h1>双色球&nbsp;历史开奖&nbsp;&raquo;&nbsp;最近%1期</h1>\n"
            "<table class=\"kj\" border=\"1\" cellspacing=\"0\">\n<thead>\n<tr>")
            .arg(draws.size());
    for (const QString& caption : captions())
        page += QStringLiteral("<th>") + caption + QStringLiteral("</th>");
    page += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
    for (auto draw = draws.crbegin(); draw != draws.crend(); ++draw) {
        page += QStringLiteral("<tr>\n  <td align=\"center\">") + draw->period + QStringLiteral("</td><td>") +
                draw->date + QStringLiteral("</td>");
        for (const QString& red : draw->reds)
            page += QStringLiteral("<td class=\"red\">&nbsp;") + red + QStringLiteral(" </td>");
        page += QStringLiteral("<td class=\"blue\">\n    <b>") + draw->blue +
                QStringLiteral("</b>\n  </td>\n</tr>\n");
    }
    page += QStringLiteral("</tbody>\n</table>\n"
                           "<p>共%1期 &copy; 数据仅供参考，以官方公告为准</p>\n"
                           "<script>document.write(\"<p>\" + later(1, 2) + \"</p>\");</script>\n"
                           "</body>\n</html>\n")
                .arg(draws.size());
    return charset == PageCharset::Gbk ? encodeInCharset(page, "GB18030") : page.toUtf8();
}

QByteArray historyCsv(const QList<LotteryDraw>& draws) {
    QByteArray csv = captions().join(u',').toUtf8() + "\r\n";
    for (const LotteryDraw& draw : draws)
        csv +=
            (QStringList{draw.period, draw.date} + draw.reds + QStringList{draw.blue}).join(u',').toUtf8() +
            "\r\n";
    return csv;
}

QByteArray historyText(const QList<LotteryDraw>& draws) {
    QByteArray text;
    for (const LotteryDraw& draw : draws)
        text += (QStringList{draw.period} + draw.reds + QStringList{draw.blue}).join(u' ').toUtf8() + "\r\n";
    return text;
}

} // namespace dravik::test
