#include "download/page_text.h"
#include "storage/text_codec.h"

#include <QTest>

using namespace dravik;

namespace {

// These characters have the same bytes in GB2312, GBK and GB18030, the one of them every platform
// here converts.
QByteArray gbBytes(const QString& text) {
    return encodeInCharset(text, "GB18030");
}

const QString kChinese = QString::fromUtf8("南粤风采好彩1 第2024120期 开奖号码");

} // namespace

class PageTextTest : public QObject {
    Q_OBJECT

private slots:
    void charsetOfContentType_data() {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("charset");

        QTest::newRow("plain") << QByteArray("text/html; charset=GBK") << QByteArray("GBK");
        QTest::newRow("quoted, no blank") << QByteArray("text/html;charset=\"utf-8\"") << QByteArray("utf-8");
        QTest::newRow("other parameters and case")
            << QByteArray("TEXT/HTML; q=1; Charset = gb2312 ; level=1") << QByteArray("gb2312");
        QTest::newRow("none") << QByteArray("text/html") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void charsetOfContentType() {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, charset);
        QCOMPARE(dravik::charsetOfContentType(contentType), charset);
    }

    void charsetOfMeta_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("charset");

        QTest::newRow("http-equiv")
            << QByteArray(
                   "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\" /></head>")
            << QByteArray("gb2312");
        QTest::newRow("upper case, single quotes, content first")
            << QByteArray("<META CONTENT='text/html; charset=GBK' HTTP-EQUIV='content-type'>")
            << QByteArray("GBK");
        QTest::newRow("unquoted") << QByteArray(
                                         "<meta http-equiv=Content-Type content=text/html;charset=utf-8>")
                                  << QByteArray("utf-8");
        QTest::newRow("after other metas")
            << QByteArray("<meta name=\"keywords\" content=\"a; charset=big5\"><metadata charset=x>"
                          "<meta http-equiv=\"content-type\" content=\"text/html; charset=GB18030\">")
            << QByteArray("GB18030");
        QTest::newRow("meta without http-equiv")
            << QByteArray("<meta name=\"x\" content=\"text/html; charset=utf-8\">") << QByteArray();
        QTest::newRow("http-equiv without charset")
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html\">") << QByteArray();
        QTest::newRow("unclosed tag")
            << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk")
            << QByteArray("gbk");
        QTest::newRow("no meta") << QByteArray("<html><body>no</body></html>") << QByteArray();
    }

    void charsetOfMeta() {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, charset);
        QCOMPARE(dravik::charsetOfMeta(page), charset);
    }

    void decodePageText_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("text");

        const QByteArray gbMeta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";
        QTest::newRow("GB2312 by header")
            << gbBytes(kChinese) << QByteArray("text/html; charset=gb2312") << kChinese;
        QTest::newRow("GB2312 by meta") << gbMeta + gbBytes(kChinese) << QByteArray("text/html")
                                        << QString::fromLatin1(gbMeta) + kChinese;
        // Pages labelled GB2312 often hold GBK characters (镕 is one): they decode as well.
        QTest::newRow("GBK character under GB2312 label")
            << gbBytes(QString::fromUtf8("朱镕基")) << QByteArray("text/html; charset=GB2312")
            << QString::fromUtf8("朱镕基");
        QTest::newRow("GBK by header")
            << gbBytes(kChinese) << QByteArray("text/html; charset=GBK") << kChinese;
        QTest::newRow("GB18030 by header")
            << gbBytes(kChinese) << QByteArray("text/html; charset=GB18030") << kChinese;
        QTest::newRow("UTF-8 by header")
            << kChinese.toUtf8() << QByteArray("text/html; charset=utf-8") << kChinese;
        QTest::newRow("header wins over meta")
            << gbMeta + kChinese.toUtf8() << QByteArray("text/html; charset=UTF-8")
            << QString::fromLatin1(gbMeta) + kChinese;
        QTest::newRow("none declared: one byte, one character")
            << QByteArray("\xC4\xE3\x22>20", 6) << QByteArray("text/html") << QString::fromUtf8("Äã\">20");
        QTest::newRow("unknown charset: one byte, one character")
            << QByteArray("\xC4\xE3", 2) << QByteArray("text/html; charset=x-no-such-set")
            << QString::fromUtf8("Äã");
        QTest::newRow("empty body") << QByteArray() << QByteArray("text/html; charset=utf-8") << QString();
    }

    void decodePageText() {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, text);
        QCOMPARE(dravik::decodePageText(body, contentType), text);
    }
};

QTEST_GUILESS_MAIN(PageTextTest)
#include "page_text_test.moc"
