// Reading a record file makes its lines share one block of text; each line must still behave as a
// QString of its own.
#include "storage/record_file.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace dravik;

class RecordLinesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    }

    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("CR LF") << "24001.07\r\n24002.11\r\n" << QStringList{"24001.07", "24002.11"};
        QTest::newRow("LF, no end") << "a\nb" << QStringList{"a", "b"};
        QTest::newRow("lone CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("LF CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("blank lines") << "\r\n\r\nx\r\n\n" << QStringList{"", "", "x", ""};
        QTest::newRow("NUL ends the text")
            << QStringLiteral("a\nb") + QChar(0) + QStringLiteral("c\nd") << QStringList{"a", "b"};
        QTest::newRow("long lines past eight characters")
            << "0123456789abcdef\r\n0123456789abcdefg"
            << QStringList{"0123456789abcdef", "0123456789abcdefg"};
        QTest::newRow("CR LF across eight characters") << "1234567\r\n8" << QStringList{"1234567", "8"};
        QTest::newRow("Chinese") << "期数.号码\n档案" << QStringList{"期数.号码", "档案"};
    }

    void split() {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(splitLines(text), expected);
        QCOMPARE(decodeRecordBytes(text.toUtf8()).lines, expected);
    }

    void linesBehaveAsOwnStrings() {
        QStringList lines = decodeRecordBytes("24001.07\r\n24002.11\r\n24003.3").lines;
        QCOMPARE(lines.size(), 3);
        for (const QString& line : lines)
            QCOMPARE(line.utf16()[line.size()], u'\0');

        QString first = lines[0];
        QString last = lines[2];
        lines.clear(); // the lines outlive their list
        QCOMPARE(first, QStringLiteral("24001.07"));
        QCOMPARE(last, QStringLiteral("24003.3"));

        QString copy = first;
        first += QStringLiteral("!");
        first[0] = u'X';
        QCOMPARE(first, QStringLiteral("X4001.07!"));
        QCOMPARE(copy, QStringLiteral("24001.07"));
        QCOMPARE(last, QStringLiteral("24003.3"));

        // The last holder of the block may change it in place; nothing else sees it any more.
        copy.clear();
        first.clear();
        last.append(QStringLiteral("0"));
        last.prepend(QStringLiteral("#"));
        QCOMPARE(last, QStringLiteral("#24003.30"));
        QCOMPARE(last.utf16()[last.size()], u'\0');
    }

    void encodingsStillDetected() {
        const QByteArray gb = QByteArray("24001.") + QByteArray("\xC6\xDA", 2) + "\r\n";
        const RecordLines fromGb = decodeRecordBytes(gb);
        QCOMPARE(fromGb.encoding, TextEncoding::Gb18030);
        QCOMPARE(fromGb.lines, QStringList{QStringLiteral("24001.期")});

        const RecordLines fromBom = decodeRecordBytes("\xEF\xBB\xBF"
                                                      "a\r\nb");
        QCOMPARE(fromBom.encoding, TextEncoding::Utf8Bom);
        QCOMPARE(fromBom.lines, (QStringList{"a", "b"}));
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(RecordLinesTest)
#include "tst_record_lines.moc"
