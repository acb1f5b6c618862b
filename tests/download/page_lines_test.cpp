#include "download/page_lines.h"
#include "history_table_page.h"
#include "storage/text_codec.h"

#include <QTest>

using namespace dravik;
using dravik::test::historyTableLines;
using dravik::test::historyTablePage;
using dravik::test::lotteryDraws;
using dravik::test::PageCharset;

namespace {

QByteArray gbk(const QString& text) {
    return encodeInCharset(text, "GB18030");
}

QByteArray utf16le(const QString& text) {
    return QByteArray("\xFF\xFE", 2) + encodeInCharset(text, "UTF-16LE");
}

// The same Chinese text in a few charsets: "期号 中奖" with the declared charset in front.
const QString kChinese = QStringLiteral("期号 中奖");

// What GB18030 makes of the UTF-8 bytes of the text: the page says GBK, and it is believed.
QString utf8ReadAsGbk(const QString& text) {
    return decodeLeniently(text.toUtf8(), "GB18030");
}

} // namespace

class PageLinesTest : public QObject {
    Q_OBJECT

private slots:
    void htmlLines_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("cells joined by a tab, th and td")
            << QStringLiteral(
                   "<table><tr><th>期号</th><th>号码</th></tr><tr><td>2024001</td><td>16</td></tr></table>")
            << QStringList{"期号\t号码", "2024001\t16"};
        QTest::newRow("character references")
            << QStringLiteral("<table><tr><td>&lt;a&gt; &amp; &#20013;&#x6587; &quot;&copy;&quot;</td>"
                              "<td>&unknown; &#0; x</td></tr></table>")
            << QStringList{"<a> & 中文 \"©\"\t&unknown; x"};
        QTest::newRow("white space runs, no-break and ideographic spaces")
            << QStringLiteral("<table><tr><td>  a \n\t b  </td><td>&nbsp;\n</td><td>&nbsp;c&nbsp;&nbsp;d</td>"
                              "<td>\u3000e\u3000\u3000f</td><td>g&#13;&#10;h</td></tr></table>")
            << QStringList{"a b\t\tc d\te f\tg h"};
        QTest::newRow("script and style ignored")
            << QStringLiteral("<table><tr><td>1<script>document.write('<td>x</td>')</script></td>"
                              "<td><style>td { color: red }</style>2</td></tr></table>"
                              "<script>var row = '<table><tr><td>9</td></tr></table>';</script>")
            << QStringList{"1\t2"};
        QTest::newRow("nested tables: rows of their own, in the order rows start")
            << QStringLiteral("<table><tr><td>a</td><td>x<table><tr><td>b</td><td>c</td></tr>"
                              "<tr><td>e</td></tr></table>y</td><td>d</td></tr><tr><td>f</td></tr></table>")
            << QStringList{"a\tx y\td", "b\tc", "e", "f"};
        QTest::newRow("rows of all tables, in document order")
            << QStringLiteral("<p>before</p><table><tr><td>1</td></tr></table><p>between</p>"
                              "<table><thead><tr><th>2</th></tr></thead><tbody><tr><td>3</td></tr></tbody>"
                              "<tfoot><tr><td>4</td></tr></tfoot></table>")
            << QStringList{"1", "2", "3", "4"};
        QTest::newRow("br and blocks part words in a cell, inline elements do not")
            << QStringLiteral("<table><tr><td>01<br>02</td><td><b>20</b>24<span>001</span></td>"
                              "<td><div>a</div><div>b</div></td><td><p>c</p>d</td></tr></table>")
            << QStringList{"01 02\t2024001\ta b\tc d"};
        QTest::newRow("rows without text left out")
            << QStringLiteral("<table><tr><td> </td><td>&nbsp;</td></tr><tr></tr><tr><td>1</td><td></td></tr>"
                              "</table>")
            << QStringList{"1\t"};
        QTest::newRow("cells outside a row make one")
            << QStringLiteral("<table><td>a</td><td>b</td><tr><td>c</td></tr><td>d</td></table>")
            << QStringList{"a\tb", "c", "d"};
        QTest::newRow("unclosed cells and rows")
            << QStringLiteral("<table><tr><td>1<td>2<tr><td>3<td>4</table>") << QStringList{"1\t2", "3\t4"};
        QTest::newRow("caption and text between cells are no cell")
            << QStringLiteral("<table><caption>历史</caption>stray<tr>x<td>1</td> <td>2</td></tr></table>")
            << QStringList{"1\t2"};
        QTest::newRow("comments ignored")
            << QStringLiteral("<table><tr><td>a<!-- <td>b</td> -->c</td></tr></table>") << QStringList{"ac"};
        QTest::newRow("no table: one line per block")
            << QStringLiteral(
                   "<html><head><title>标题</title><script>x = 1;</script></head><body>"
                   "text <b>bold</b><p>a</p><div>b<br>c<br/><br></div><ul><li>d</li><li>e</li></ul>"
                   "<h2>f</h2>g</body></html>")
            << QStringList{"text bold", "a", "b", "c", "d", "e", "f", "g"};
        QTest::newRow("no table: pre and textarea lines")
            << QStringLiteral("<p>x</p><pre>2024001  01 02\n\n2024002\t03 04\r\nend</pre>"
                              "<textarea>l1\nl2</textarea>")
            << QStringList{"x", "2024001 01 02", "2024002 03 04", "end", "l1", "l2"};
        QTest::newRow("a table without text: block lines")
            << QStringLiteral("<table><tr><td> </td></tr></table><p>x</p>") << QStringList{"x"};
        QTest::newRow("nothing") << QString() << QStringList();
        QTest::newRow("no markup") << QStringLiteral("a\nb") << QStringList{"a b"};
    }

    void htmlLines() {
        QFETCH(QString, html);
        QFETCH(QStringList, lines);
        QCOMPARE(dravik::htmlLines(html), lines);
    }

    void readPageLines_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QStringList>("lines");

        const QByteArray table = "<table><tr><td>1</td><td>2</td></tr></table>";
        QTest::newRow("html") << table << QByteArray("text/html") << QStringList{"1\t2"};
        QTest::newRow("xhtml") << table << QByteArray("application/xhtml+xml") << QStringList{"1\t2"};
        QTest::newRow("upper case and parameters")
            << table << QByteArray("Text/HTML ; charset=\"utf-8\"") << QStringList{"1\t2"};
        QTest::newRow("text/plain as it is, markup and all")
            << QByteArray("a\r\nb\rc\n\nd <td>e</td>\r\n") << QByteArray("text/plain")
            << QStringList{"a", "b", "c", "", "d <td>e</td>"};
        QTest::newRow("text/csv") << QByteArray("期号,蓝球\n2024001,16") << QByteArray("text/csv")
                                  << QStringList{"期号,蓝球", "2024001,16"};
        QTest::newRow("json is text")
            << QByteArray("[1,\n2]") << QByteArray("application/json") << QStringList{"[1,", "2]"};
        QTest::newRow("no type: markup is html")
            << QByteArray(" \r\n<!DOCTYPE html><html><body>") + table << QByteArray() << QStringList{"1\t2"};
        QTest::newRow("no type: a table is html") << table << QByteArray() << QStringList{"1\t2"};
        QTest::newRow("no type: other text")
            << QByteArray("2024001 16\n<b>x</b>") << QByteArray() << QStringList{"2024001 16", "<b>x</b>"};
        QTest::newRow("no type: a word after <")
            << QByteArray("<bogus> 1") << QByteArray() << QStringList{"<bogus> 1"};
        QTest::newRow("a type without a slash: sniffed")
            << table << QByteArray("html") << QStringList{"1\t2"};
        QTest::newRow("NUL characters dropped")
            << QByteArray("a\0b\nc\0", 7) << QByteArray("text/plain") << QStringList{"ab", "c"};
        QTest::newRow("NUL in html dropped") << QByteArray("<table><tr><td>1\0"
                                                           "2</td></tr></table>",
                                                           35)
                                             << QByteArray("text/html") << QStringList{"12"};
        QTest::newRow("empty") << QByteArray() << QByteArray("text/plain") << QStringList();
    }

    void readPageLines() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QStringList, lines);
        const std::optional<QStringList> read = dravik::readPageLines(body, contentType);
        QVERIFY(read);
        QCOMPARE(*read, lines);
    }

    void notTextPages_data() {
        QTest::addColumn<QByteArray>("contentType");
        QTest::newRow("image") << QByteArray("image/png");
        QTest::newRow("octet stream") << QByteArray("application/octet-stream");
        QTest::newRow("pdf") << QByteArray("application/pdf");
        QTest::newRow("zip") << QByteArray("application/zip");
        QTest::newRow("excel") << QByteArray("application/vnd.ms-excel");
        QTest::newRow("video") << QByteArray("video/mp4");
    }

    void notTextPages() {
        QFETCH(QByteArray, contentType);
        QVERIFY(!dravik::readPageLines("<table><tr><td>1</td></tr></table>", contentType));
        QVERIFY(!mayBeTextPage(contentType));
        QVERIFY(mayBeTextPage("text/html; charset=gbk"));
        QVERIFY(mayBeTextPage(""));
    }

    // The Content-Type's charset, else the meta's (for HTML), else UTF-8 when valid, else GB18030;
    // a byte-order mark before all of them.
    void charsetPrecedence_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("line");

        const QString text = kChinese;
        const auto page = [](const QByteArray& head, const QByteArray& cell) {
            return "<html><head>" + head + "</head><body><table><tr><td>" + cell +
                   "</td></tr></table></body></html>";
        };
        const QByteArray metaUtf8 = "<meta charset=\"utf-8\">";
        const QByteArray metaGbk = "<meta charset=gbk>";
        const QByteArray equivGb2312 =
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";

        QTest::newRow("header over meta")
            << page(metaUtf8, gbk(text)) << QByteArray("text/html; charset=GBK") << text;
        QTest::newRow("header utf-8 over GBK bytes")
            << page({}, gbk(text)) << QByteArray("text/html; charset=utf-8")
            << decodeLeniently(gbk(text), "UTF-8");
        QTest::newRow("meta charset") << page(metaGbk, gbk(text)) << QByteArray("text/html") << text;
        QTest::newRow("meta http-equiv") << page(equivGb2312, gbk(text)) << QByteArray("text/html") << text;
        QTest::newRow("meta in the body")
            << "<p>x</p><meta charset=gbk>" + page({}, gbk(text)) << QByteArray("text/html") << QString(text);
        QTest::newRow("first meta wins")
            << page(metaGbk + metaUtf8, gbk(text)) << QByteArray("text/html") << text;
        QTest::newRow("meta over the bytes' validity")
            << page(metaGbk, text.toUtf8()) << QByteArray("text/html") << utf8ReadAsGbk(text);
        QTest::newRow("meta without a type: sniffed html")
            << page(metaGbk, gbk(text)) << QByteArray() << text;
        QTest::newRow("unknown header charset: the meta")
            << page(metaGbk, gbk(text)) << QByteArray("text/html; charset=x-nonsense") << text;
        QTest::newRow("meta naming utf-16 read as utf-8")
            << page("<meta charset=utf-16>", text.toUtf8()) << QByteArray("text/html") << text;
        QTest::newRow("neither: valid UTF-8") << page({}, text.toUtf8()) << QByteArray("text/html") << text;
        QTest::newRow("neither: GB18030") << page({}, gbk(text)) << QByteArray("text/html") << text;
        QTest::newRow("text pages have no meta")
            << metaGbk + "\n" + text.toUtf8() << QByteArray("text/plain") << text;
        QTest::newRow("text page: GB18030") << gbk(text) << QByteArray("text/csv") << text;
        QTest::newRow("text page: header") << gbk(text) << QByteArray("text/plain; charset=gb2312") << text;
        QTest::newRow("UTF-8 mark over header")
            << "\xEF\xBB\xBF" + text.toUtf8() << QByteArray("text/plain; charset=gbk") << text;
        QTest::newRow("UTF-16 mark") << utf16le(text) << QByteArray("text/plain") << text;
        QTest::newRow("UTF-16 mark, html")
            << utf16le(QString::fromUtf8(page(metaGbk, text.toUtf8()))) << QByteArray() << text;
    }

    void charsetPrecedence() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, line);
        const std::optional<QStringList> lines = dravik::readPageLines(body, contentType);
        QVERIFY(lines);
        QCOMPARE(lines->value(lines->size() - 1), line);
    }

    void historyPages_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("contentType");
        QTest::newRow("GBK, header") << historyTablePage(lotteryDraws(300), PageCharset::Gbk)
                                     << QByteArray("text/html; charset=GBK");
        QTest::newRow("GBK, meta gb2312 only")
            << historyTablePage(lotteryDraws(300), PageCharset::Gbk) << QByteArray("text/html");
        QTest::newRow("UTF-8, meta only")
            << historyTablePage(lotteryDraws(300), PageCharset::Utf8) << QByteArray("text/html");
    }

    void historyPages() {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, contentType);
        QCOMPARE(*dravik::readPageLines(page, contentType), historyTableLines(lotteryDraws(300)));
    }
};

QTEST_GUILESS_MAIN(PageLinesTest)
#include "page_lines_test.moc"
