#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace dravik::test {

// One 双色球 draw as history pages show it: period, date, six red balls in rising order, blue ball.
struct LotteryDraw {
    QString period;   // "2023001": the year and the draw's number in it
    QString date;     // "2023-01-01"
    QStringList reds; // six distinct of "01" … "33"
    QString blue;     // "01" … "16"

    // The draw as a line of the page's table reads: the fields joined by a tab.
    QString tableLine() const;
};

// `count` draws of 双色球, oldest first: three a week (Sunday, Tuesday, Thursday) from 2023-01-01 on,
// the numbers from a fixed sequence, so that every call gives the same draws. `seed` gives another
// sequence of numbers over the same periods and dates.
QList<LotteryDraw> lotteryDraws(int count, unsigned seed = 1);

// The caption line of the page's table: "期号\t开奖日期\t红球1\t…\t红球6\t蓝球".
QString tableHeaderLine();
// The lines that the page of the draws reads as: the caption line, then each draw's tableLine(),
// newest first.
QStringList historyTableLines(const QList<LotteryDraw>& draws);

enum class PageCharset {
    Gbk,  // GBK bytes with an http-equiv meta naming gb2312, as such pages have: read right whether the
          // server says "text/html; charset=GBK" or only "text/html"
    Utf8, // UTF-8 bytes with <meta charset="utf-8">, for a server that names no charset
};

// A history page as lottery sites have them: a title, a menu, a script and a style sheet, and the draws
// newest first in a table under a caption row (期号, 开奖日期, 红球1 … 红球6, 蓝球), with character
// references and blanks around the numbers; its lines are historyTableLines(draws).
QByteArray historyTablePage(const QList<LotteryDraw>& draws, PageCharset charset);

// The same draws as a CSV file (a caption line, then "2023001,2023-01-01,01,…,16" oldest first) and as
// plain text ("2023001 01 02 03 04 05 06 16" a line), UTF-8 with CR LF line ends.
QByteArray historyCsv(const QList<LotteryDraw>& draws);
QByteArray historyText(const QList<LotteryDraw>& draws);

} // namespace dravik::test
