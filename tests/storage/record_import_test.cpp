#include "data_folder_case.h"
#include "file_size_limit.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_import.h"
#include "storage/record_list.h"
#include "test_support.h"

#include <QTest>

using namespace dravik;
using namespace dravik::test;

namespace {

// Record lines as an import hands them over.
ImportedRecords recordsOf(const QStringList& lines) {
    ImportedRecords records;
    for (const QString& line : lines)
        records.append(line.toUtf8().toStdString());
    return records;
}

// The choice of "号码取" with that caption, for an archive whose draws hold `numbersPerDraw` numbers.
std::optional<NumberColumn> choiceCaptioned(const QString& caption, int numbersPerDraw) {
    const qsizetype index = numberColumnCaptioned(caption, numbersPerDraw);
    if (index < 0)
        return std::nullopt;
    return numberColumnChoices(numbersPerDraw).at(index);
}

// Each rejected line as "line number:fault:text".
QStringList rejectedAsText(const QList<RejectedLine>& rejected, const ArchiveNumbers& numbers) {
    QStringList texts;
    for (const RejectedLine& line : rejected)
        texts.append(QString::number(line.lineNumber) + ':' + faultText(line.fault, numbers) + ':' +
                     line.text);
    return texts;
}

const QString kPeriod = QStringLiteral("期号不是数字");
const QString kFields = QStringLiteral("列数不足");
const QString kDigits = QStringLiteral("号码不是数字");
const QString kRepeated = QStringLiteral("号码重复");
const QString kCount = QStringLiteral("号码个数不对");
QString outOfRange(const QString& range) {
    return QStringLiteral("号码超出范围（%1）").arg(range);
}

} // namespace

class RecordImportTest : public DataFolderCase {
    Q_OBJECT

    // Pasted (the field's text) and read from a file: the same records and rejected lines.
    void parsesAs(const QByteArray& bytes, const ArchiveNumbers& numbers, const QString& choice,
                  const QStringList& records, const QStringList& rejected) {
        const std::optional<NumberColumn> column = choiceCaptioned(choice, numbers.perDraw());
        QVERIFY2(column, qPrintable(choice));
        const ParsedRecords pasted = parseImportText(decodeRecordText(bytes).text, *column, numbers);
        QCOMPARE(pasted.records.toStringList(), records);
        QCOMPARE(rejectedAsText(pasted.rejected, numbers), rejected);

        const QString path = home().path() + "/history.txt";
        QVERIFY(writeBytes(path, bytes));
        const ParsedRecords read = parseImportText(readImportText(path), *column, numbers);
        QCOMPARE(read.records.toStringList(), records);
        QCOMPARE(rejectedAsText(read.rejected, numbers), rejected);
    }

private slots:
    void choices_data() {
        QTest::addColumn<int>("numbersPerDraw");
        QTest::addColumn<QStringList>("captions");
        const QStringList single{"最后一列", "第2列", "第3列", "第4列",          "第5列",
                                 "第6列",    "第7列", "第8列", "第2列起各列之和"};
        QTest::newRow("one number") << 1 << single;
        QTest::newRow("below one counts as one") << 0 << single;
        QTest::newRow("双色球 red balls")
            << 6 << QStringList{"第2列起6列", "第3列起6列", "第4列起6列",      "第5列起6列", "第6列起6列",
                                "第7列起6列", "第8列起6列", "最后一列之前6列", "最后6列"};
        QTest::newRow("two") << 2 << QStringList{"第2列起2列", "第3列起2列",      "第4列起2列",
                                                 "第5列起2列", "第6列起2列",      "第7列起2列",
                                                 "第8列起2列", "最后一列之前2列", "最后2列"};
    }

    void choices() {
        QFETCH(int, numbersPerDraw);
        QFETCH(QStringList, captions);
        QStringList actual;
        for (const NumberColumn& choice : numberColumnChoices(numbersPerDraw))
            actual.append(choice.caption());
        QCOMPARE(actual, captions);
        // A remembered caption finds its choice, or none where it is not offered.
        for (qsizetype i = 0; i < captions.size(); ++i)
            QCOMPARE(numberColumnCaptioned(captions[i], numbersPerDraw), i);
        QCOMPARE(numberColumnCaptioned(numbersPerDraw > 1 ? "最后一列" : "最后6列", numbersPerDraw), -1);
    }

    // One number a draw: bytes as pasted or read from a file, the archive's X and start value, the
    // choice by its caption → records and rejected lines ("line number:fault:text").
    void parse_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("rejected");
        const QStringList blue{"2024001.16"};
        const QString header = QStringLiteral("期号,红球,蓝球\r\n");
        const QString ssq = QStringLiteral("2024001,01,02,03,04,05,06,16\r\n");
        const QString last = QStringLiteral("最后一列");
        const QString sum = QStringLiteral("第2列起各列之和");

        QTest::newRow("blanks") << QByteArray("2024001 01 02 03 04 05 06 16") << 36 << 1 << last << blue
                                << QStringList{};
        QTest::newRow("tabs") << QByteArray("2024001\t01\t02\t03\t04\t05\t06\t16") << 36 << 1 << last << blue
                              << QStringList{};
        QTest::newRow("runs of mixed separators, at both ends too")
            << QByteArray(" \t2024001 ,\t01,,02  03\t\t16 ,") << 36 << 1 << last << blue << QStringList{};
        QTest::newRow("no-break, ideographic and full-width comma")
            << QStringLiteral("2024001\u00A001\u300002\uFF0C16").toUtf8() << 36 << 1 << last << blue
            << QStringList{};
        QTest::newRow("record form, whatever the choice, its number a label")
            << QByteArray("2024001.5\n2019.001.05\n2024002.\n2024003.x\n2024004.37") << 36 << 1 << sum
            << QStringList{"2024001.05"}
            << QStringList{"2:" + kDigits + ":2019.001.05", "3:" + kDigits + ":2024002.",
                           "4:" + kDigits + ":2024003.x", "5:" + outOfRange("01～36") + ":2024004.37"};
        QTest::newRow("a full stop beside a separator is split")
            << QByteArray("2024001 1.5 16\n2024002.05 16") << 36 << 1 << last << blue
            << QStringList{"2:" + kPeriod + ":2024002.05 16"};
        QTest::newRow("period before the full stop must be digits")
            << QStringLiteral(".05\na.05\n第1期.05").toUtf8() << 36 << 1 << last << QStringList{}
            << QStringList{"1:" + kPeriod + ":.05", "2:" + kPeriod + ":a.05", "3:" + kPeriod + ":第1期.05"};
        QTest::newRow("header line rejected, the rest imported")
            << QStringLiteral("期号 红球 蓝球\n2024001 01 02 03 04 05 06 16").toUtf8() << 36 << 1 << last
            << blue << QStringList{"1:" + kPeriod + ":期号 红球 蓝球"};
        QTest::newRow("date field ignored") << QByteArray("2024001 2024-01-02 01 02 03 04 05 06 16") << 36
                                            << 1 << last << blue << QStringList{};
        QTest::newRow("date in the chosen column")
            << QByteArray("2024001 2024-01-02 01") << 36 << 1 << "第2列" << QStringList{}
            << QStringList{"1:" + kDigits + ":2024001 2024-01-02 01"};
        for (int field = 2; field <= 8; ++field) {
            QTest::addRow("column %d", field)
                << QByteArray("2024001 11 12 13 14 15 16 17 18") << 36 << 1
                << QStringLiteral("第%1列").arg(field)
                << QStringList{QStringLiteral("2024001.%1").arg(9 + field)} << QStringList{};
        }
        QTest::newRow("line without the chosen column")
            << QByteArray("2024001 01 02\n2024002") << 36 << 1 << "第8列" << QStringList{}
            << QStringList{"1:" + kFields + ":2024001 01 02", "2:" + kFields + ":2024002"};
        QTest::newRow("one field has no last column")
            << QByteArray("2024001") << 36 << 1 << last << QStringList{}
            << QStringList{"1:" + kFields + ":2024001"};
        QTest::newRow("period not digits")
            << QStringLiteral("第2024001期 01 16\n2024001a 16\n-2024001 16").toUtf8() << 36 << 1 << last
            << QStringList{}
            << QStringList{"1:" + kPeriod + ":第2024001期 01 16", "2:" + kPeriod + ":2024001a 16",
                           "3:" + kPeriod + ":-2024001 16"};
        QTest::newRow("number not digits")
            << QByteArray("2024001 01 16x\n2024002 +5") << 36 << 1 << last << QStringList{}
            << QStringList{"1:" + kDigits + ":2024001 01 16x", "2:" + kDigits + ":2024002 +5"};
        QTest::newRow("numbers written as labels, counted from one")
            << QByteArray("2024001 5\n2024002 05\n2024003 005\n0012 1\n2024004 0036") << 36 << 1 << last
            << QStringList{"2024001.05", "2024002.05", "2024003.05", "0012.01", "2024004.36"}
            << QStringList{};
        QTest::newRow("numbers written as labels, counted from zero")
            << QByteArray("2024001 007\n2024002 0\n2024003 00") << 10 << 0 << last
            << QStringList{"2024001.7", "2024002.0", "2024003.0"} << QStringList{};
        QTest::newRow("no label of that value")
            << QByteArray("2024001 37\n2024002 00\n2024003 99999999999999999999999\n2024004 10") << 36 << 1
            << last << QStringList{"2024004.10"}
            << QStringList{"1:" + outOfRange("01～36") + ":2024001 37",
                           "2:" + outOfRange("01～36") + ":2024002 00",
                           "3:" + outOfRange("01～36") + ":2024003 99999999999999999999999"};
        QTest::newRow("sum of a 3D draw")
            << QByteArray("2024001 1 2 3\n2024002 0 0 0\n2024003 09 09 09") << 28 << 0 << sum
            << QStringList{"2024001.6", "2024002.0", "2024003.27"} << QStringList{};
        QTest::newRow("a sum written as a label")
            << QByteArray("2024001 1 2 3") << 36 << 1 << sum << QStringList{"2024001.06"} << QStringList{};
        QTest::newRow("sum skips a date") << QByteArray("2024001 2024-01-02 1 2 3") << 28 << 0 << sum
                                          << QStringList{"2024001.6"} << QStringList{};
        QTest::newRow("sum beyond the labels")
            << QByteArray("2024001 9 9 9 9") << 28 << 0 << sum << QStringList{}
            << QStringList{"1:" + outOfRange("0～27") + ":2024001 9 9 9 9"};
        QTest::newRow("sum without digit fields")
            << QByteArray("2024001 -\n2024002") << 28 << 0 << sum << QStringList{}
            << QStringList{"1:" + kDigits + ":2024001 -", "2:" + kFields + ":2024002"};
        QTest::newRow("sum too large to hold")
            << QByteArray("2024001 18446744073709551615 1\n2024002 99999999999999999999") << 28 << 0 << sum
            << QStringList{}
            << QStringList{"1:" + outOfRange("0～27") + ":2024001 18446744073709551615 1",
                           "2:" + outOfRange("0～27") + ":2024002 99999999999999999999"};
        QTest::newRow("blank and whitespace-only lines skipped")
            << QByteArray("\n   \n\t\n , \n2024001 16\n\n") << 36 << 1 << last << blue << QStringList{};
        QTest::newRow("CR LF, LF and CR mixed")
            << QByteArray("a\r\n2024001 01\n2024002 02\r2024003 03\r\n\r\nb") << 36 << 1 << last
            << QStringList{"2024001.01", "2024002.02", "2024003.03"}
            << QStringList{"1:" + kPeriod + ":a", "6:" + kPeriod + ":b"};
        QTest::newRow("a period twice: both parsed, in order")
            << QByteArray("2024001 05\n2024001 06") << 36 << 1 << last
            << QStringList{"2024001.05", "2024001.06"} << QStringList{};
        QTest::newRow("NUL ends the text")
            << QByteArray("2024001 16\0\n2024002 17", 22) << 36 << 1 << last << blue << QStringList{};
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + (ssq + header).toUtf8() << 36 << 1
                                         << last << blue << QStringList{"2:" + kPeriod + ":期号,红球,蓝球"};
        QTest::newRow("GB18030") << gb18030(header + ssq) << 36 << 1 << last << blue
                                 << QStringList{"1:" + kPeriod + ":期号,红球,蓝球"};
        QTest::newRow("UTF-16 LE") << utf16le(header + ssq) << 36 << 1 << last << blue
                                   << QStringList{"1:" + kPeriod + ":期号,红球,蓝球"};
        QTest::newRow("UTF-16 BE") << utf16be(header + ssq) << 36 << 1 << last << blue
                                   << QStringList{"1:" + kPeriod + ":期号,红球,蓝球"};
    }

    // Pasted (the field's text) and read from a file, the same outcome.
    void parse() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, x);
        QFETCH(int, start);
        QFETCH(QString, choice);
        QFETCH(QStringList, records);
        QFETCH(QStringList, rejected);
        parsesAs(bytes, archiveNumbers(x, start), choice, records, rejected);
    }

    // Draws of K numbers, in an archive of 33 counted from one (双色球's red balls): bytes, K, the
    // choice by its caption → records and rejected lines.
    void parseSeveralNumbers_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("numbersPerDraw");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("rejected");
        const QByteArray ssq = QStringLiteral("期号 红球 蓝球\n"
                                              "2024001 01 02 03 04 05 06 16\n"
                                              "2024002 03 09 14 22 27 33 07\n")
                                   .toUtf8();
        const QStringList header{"1:" + kPeriod + ":期号 红球 蓝球"};
        const QStringList reds{"2024001.01 02 03 04 05 06", "2024002.03 09 14 22 27 33"};
        const QString range = outOfRange("01～33");

        QTest::newRow("red balls from the second field") << ssq << 6 << "第2列起6列" << reds << header;
        QTest::newRow("red balls before the last") << ssq << 6 << "最后一列之前6列" << reds << header;
        QTest::newRow("red and blue balls as the last seven")
            << ssq << 7 << "最后7列"
            << QStringList{"2024001.01 02 03 04 05 06 16", "2024002.03 09 14 22 27 33 07"} << header;
        QTest::newRow("the last six: a blue ball is one of them")
            << ssq << 6 << "最后6列" << QStringList{"2024001.02 03 04 05 06 16", "2024002.09 14 22 27 33 07"}
            << header;

        // A history table as results pages list it: period, date, six red balls, blue ball. The blue
        // ball of the second draw repeats a red one.
        const QByteArray table = "2023001\t2023-01-01\t07\t10\t12\t19\t24\t31\t14\n"
                                 "2023002\t2023-01-03\t01\t05\t14\t20\t28\t33\t14";
        const QStringList tableReds{"2023001.07 10 12 19 24 31", "2023002.01 05 14 20 28 33"};
        QTest::newRow("a table, from the second field: the date")
            << table << 6 << "第2列起6列" << QStringList{}
            << QStringList{"1:" + kDigits + ":2023001\t2023-01-01\t07\t10\t12\t19\t24\t31\t14",
                           "2:" + kDigits + ":2023002\t2023-01-03\t01\t05\t14\t20\t28\t33\t14"};
        QTest::newRow("a table, from the third field")
            << table << 6 << "第3列起6列" << tableReds << QStringList{};
        QTest::newRow("a table, before the last")
            << table << 6 << "最后一列之前6列" << tableReds << QStringList{};
        QTest::newRow("a table, the last six")
            << table << 6 << "最后6列" << QStringList{"2023001.10 12 19 24 31 14"}
            << QStringList{"2:" + kRepeated + ":2023002\t2023-01-03\t01\t05\t14\t20\t28\t33\t14"};

        QTest::newRow("numbers of the archive")
            << QByteArray("2024001 1 2 3 4 5 6\n2024002 01 02 03 04 05 34\n2024003 01 01 03 04 05 06\n"
                          "2024004 001 002 003 004 005 033\n2024005 00 02 03 04 05 06\n2024006 1 01 2 3 4 5")
            << 6 << "第2列起6列" << QStringList{"2024001.01 02 03 04 05 06", "2024004.01 02 03 04 05 33"}
            << QStringList{"2:" + range + ":2024002 01 02 03 04 05 34",
                           "3:" + kRepeated + ":2024003 01 01 03 04 05 06",
                           "5:" + range + ":2024005 00 02 03 04 05 06",
                           "6:" + kRepeated + ":2024006 1 01 2 3 4 5"};
        QTest::newRow("any separators, joined by one blank")
            << QStringLiteral(" 2024001,01,\t02  03\u300004\uFF0C05\u00A006 ,").toUtf8() << 6 << "最后6列"
            << QStringList{"2024001.01 02 03 04 05 06"} << QStringList{};

        const QByteArray fewFields = "2024001 01 02 03 04 05\n"
                                     "01 02 03 04 05 06\n"
                                     "\t2024003 01 02 03 04 05\n"
                                     "2024002 01 02 03 04 05 06";
        for (const QString& choice : {QStringLiteral("第2列起6列"), QStringLiteral("最后6列")}) {
            QTest::addRow("too few fields, %s", qPrintable(choice))
                << fewFields << 6 << choice << QStringList{"2024002.01 02 03 04 05 06"}
                << QStringList{"1:" + kFields + ":2024001 01 02 03 04 05",
                               "2:" + kFields + ":01 02 03 04 05 06",
                               "3:" + kFields + ":\t2024003 01 02 03 04 05"};
        }
        QTest::newRow("too few fields before the last")
            << QByteArray("2024002 01 02 03 04 05 06") << 6 << "最后一列之前6列" << QStringList{}
            << QStringList{"1:" + kFields + ":2024002 01 02 03 04 05 06"};
        const QByteArray letters = "2024001 01 02 0x 04 05 06 16\n"
                                   "2024002 01 02 03 04 05 06 蓝16\n"
                                   "第2024003期 01 02 03 04 05 06";
        QTest::newRow("fields not digits, from the second")
            << letters << 6 << "第2列起6列" << QStringList{"2024002.01 02 03 04 05 06"}
            << QStringList{"1:" + kDigits + ":2024001 01 02 0x 04 05 06 16",
                           "3:" + kPeriod + ":第2024003期 01 02 03 04 05 06"};
        QTest::newRow("fields not digits, the last six")
            << letters << 6 << "最后6列" << QStringList{}
            << QStringList{"1:" + kDigits + ":2024001 01 02 0x 04 05 06 16",
                           "2:" + kDigits + ":2024002 01 02 03 04 05 06 蓝16",
                           "3:" + kPeriod + ":第2024003期 01 02 03 04 05 06"};

        // The record form, whatever the choice: K numbers after the period's ".", held to the same
        // rules as numbers in columns.
        const QByteArray records = "2024001.01 02 03 04 05 06\n"
                                   "2024006.09\n"
                                   "2024002.01 02 03 04 05\n"
                                   "2024003.01 02 03 04 05 06 07\n"
                                   "2024004.01  02 03 04 05 06\n"
                                   "2024005.1\t02 03 04 05 006\n"
                                   "2024007.01 02 03 04 05 x\n"
                                   "a.01 02 03 04 05 06\n"
                                   "2024010.01 02 03 04 05 05\n"
                                   "\n"
                                   "2024011.01 02 03 04 05 34";
        QTest::newRow("records of six numbers")
            << records << 6 << "第8列起6列"
            << QStringList{"2024001.01 02 03 04 05 06", "2024004.01 02 03 04 05 06",
                           "2024005.01 02 03 04 05 06"}
            << QStringList{"2:" + kCount + ":2024006.09",
                           "3:" + kCount + ":2024002.01 02 03 04 05",
                           "4:" + kCount + ":2024003.01 02 03 04 05 06 07",
                           "7:" + kDigits + ":2024007.01 02 03 04 05 x",
                           "8:" + kPeriod + ":a.01 02 03 04 05 06",
                           "9:" + kRepeated + ":2024010.01 02 03 04 05 05",
                           "11:" + range + ":2024011.01 02 03 04 05 34"};
        QTest::newRow("records of one number")
            << QByteArray("2024006.9\n2024001.01 02\n2024007.34") << 1 << "最后一列"
            << QStringList{"2024006.09"}
            << QStringList{"2:" + kPeriod + ":2024001.01 02", "3:" + range + ":2024007.34"};
    }

    void parseSeveralNumbers() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, numbersPerDraw);
        QFETCH(QString, choice);
        QFETCH(QStringList, records);
        QFETCH(QStringList, rejected);
        parsesAs(bytes, archiveNumbers(33, 1, numbersPerDraw), choice, records, rejected);
    }

    // The choice that reads most lines of a text, the earliest among equals.
    void fittingChoice_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("numbersPerDraw");
        QTest::addColumn<QString>("choice");
        QTest::newRow("nothing, one number") << QByteArray() << 36 << 1 << "最后一列";
        QTest::newRow("nothing, six numbers") << QByteArray() << 33 << 6 << "第2列起6列";
        QTest::newRow("双色球 blue balls")
            << QByteArray("2024001 01 02 03 04 05 06 16") << 16 << 1 << "最后一列";
        QTest::newRow("the last column out of range")
            << QByteArray("2024001 05 99\n2024002 06 98") << 36 << 1 << "第2列";
        QTest::newRow("双色球 red balls after the period")
            << QByteArray("2024001 01 02 03 04 05 06 16") << 33 << 6 << "第2列起6列";
        QTest::newRow("双色球 red balls after a date, with a header")
            << QStringLiteral("期号\t开奖日期\t红球1\t红球2\t红球3\t红球4\t红球5\t红球6\t蓝球\n"
                              "2023001\t2023-01-01\t07\t10\t12\t19\t24\t31\t14\n"
                              "2023002\t2023-01-03\t01\t05\t14\t20\t28\t33\t14\n")
                   .toUtf8()
            << 33 << 6 << "第3列起6列";
        QTest::newRow("大乐透 front zone")
            << QByteArray("2024001 2024-01-01 03 11 19 27 35 04 12\n2024002 2024-01-03 01 02 03 04 05 11 12")
            << 35 << 5 << "第3列起5列";
        QTest::newRow("七乐彩, the special number last")
            << QByteArray("2024001 2024-01-01 02 08 13 19 24 27 30 11") << 30 << 7 << "第3列起7列";
        QTest::newRow("red balls last, a sum before them")
            << QByteArray("2024001 120 01 02 03 04 05 06\n2024002 99 07 08 09 10 11 12") << 33 << 6
            << "第3列起6列";
    }

    void fittingChoice() {
        QFETCH(QByteArray, text);
        QFETCH(int, x);
        QFETCH(int, numbersPerDraw);
        QFETCH(QString, choice);
        const ArchiveNumbers numbers = archiveNumbers(x, 1, numbersPerDraw);
        const qsizetype fitting = fittingNumberColumn(QByteArrayView(text), numbers);
        QCOMPARE(numberColumnChoices(numbersPerDraw).value(fitting).caption(), choice);
    }

    // The changes a merge lists for the preview: the first ones of each kind, in record order.
    void changesListed() {
        const QByteArray archive =
            encodeRecordLines({"2024001.05", "2024002.06", "2024003.07"}, TextEncoding::Utf8);
        const ImportedRecords records =
            recordsOf({"2024005.02", "2024003.08", "2024002.09", "2024001.05", "2024004.01"});
        const MergedRecordFile one = mergeIntoRecordFile(archive, records, TextEncoding::Utf8, 1);
        QCOMPARE(one.replaced.size(), 1);
        QCOMPARE(one.replaced[0].period, QStringLiteral("2024002"));
        QCOMPARE(one.replaced[0].oldNumber, QStringLiteral("06"));
        QCOMPARE(one.replaced[0].newNumber, QStringLiteral("09"));
        QCOMPARE(one.added, QStringList{"2024004.01"});
        const MergedRecordFile all = mergeIntoRecordFile(
            encodeRecordLines({"2024001.05", "2024002.06", "2024003.07"}, TextEncoding::Utf16Le), records,
            TextEncoding::Utf8, 5);
        QCOMPARE(all.replaced.size(), 2);
        QCOMPARE(all.replaced[1].period, QStringLiteral("2024003"));
        QCOMPARE(all.replaced[1].oldNumber, QStringLiteral("07"));
        QCOMPARE(all.added, (QStringList{"2024004.01", "2024005.02"}));
        QVERIFY(mergeIntoRecordFile(archive, records, TextEncoding::Utf8).added.isEmpty());
    }

    void readFile() {
        const QString path = home().path() + "/history.txt";
        const QString text = QStringLiteral("期号 蓝球\r\n2024001 16\r2024002 01");
        QVERIFY(writeBytes(path, gb18030(text)));
        QCOMPARE(readImportText(path), text.toUtf8());
        try {
            readImportText(home().path() + "/gone.txt");
            QFAIL("no error raised");
        } catch (const Error& error) {
            QVERIFY(error.message().startsWith("Cannot open file \"" + home().path() + "/gone.txt\". "));
        }
    }

    void merge_data() {
        QTest::addColumn<QStringList>("archive");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("replaced");
        QTest::addColumn<int>("same");
        const QStringList archive{"2024001.05", "2024002.06"};

        QTest::newRow("new into an empty archive") << QStringList{} << QStringList{"2024002.16", "2024001.05"}
                                                   << QStringList{"2024001.05", "2024002.16"} << 2 << 0 << 0;
        QTest::newRow("new") << archive << QStringList{"2024003.07"}
                             << QStringList{"2024001.05", "2024002.06", "2024003.07"} << 1 << 0 << 0;
        QTest::newRow("replaced") << archive << QStringList{"2024002.07"}
                                  << QStringList{"2024001.05", "2024002.07"} << 0 << 1 << 0;
        QTest::newRow("same") << archive << QStringList{"2024001.05", "2024002.06"} << archive << 0 << 0 << 2;
        QTest::newRow("new, replaced and same at once")
            << archive << QStringList{"2024000.01", "2024001.05", "2024002.6"}
            << QStringList{"2024000.01", "2024001.05", "2024002.6"} << 1 << 1 << 1;
        QTest::newRow("numbers as written differ") << QStringList{"2024001.5"} << QStringList{"2024001.05"}
                                                   << QStringList{"2024001.05"} << 0 << 1 << 0;
        QTest::newRow("the later record of a period wins, new")
            << archive << QStringList{"2024003.01", "2024003.02"}
            << QStringList{"2024001.05", "2024002.06", "2024003.02"} << 1 << 0 << 0;
        QTest::newRow("the later record of a period wins, back to the same")
            << archive << QStringList{"2024001.09", "2024001.05"} << archive << 0 << 0 << 1;
        QTest::newRow("only the first line of a period is replaced, as on the page")
            << QStringList{"2024001.05", "2024001.09"} << QStringList{"2024001.07"}
            << QStringList{"2024001.07", "2024001.09"} << 0 << 1 << 0;
        QTest::newRow("a replaced line moves within its period")
            << QStringList{"2024001.05", "2024001.06", "2024002.01"} << QStringList{"2024001.07"}
            << QStringList{"2024001.06", "2024001.07", "2024002.01"} << 0 << 1 << 0;
        QTest::newRow("the same, beside a line that is no draw")
            << QStringList{"2024001.05", "2024001.06", "x"} << QStringList{"2024001.07"}
            << QStringList{"2024001.06", "2024001.07", "x"} << 0 << 1 << 0;
        QTest::newRow("the first line of a period in the file, not in order")
            << QStringList{"2024001.09", "2024001.05"} << QStringList{"2024001.07"}
            << QStringList{"2024001.05", "2024001.07"} << 0 << 1 << 0;
        QTest::newRow("records in no order")
            << archive << QStringList{"2024004.01", "2024002.07", "2024003.01", "2024002.08"}
            << QStringList{"2024001.05", "2024002.08", "2024003.01", "2024004.01"} << 2 << 1 << 0;
        QTest::newRow("records of another form")
            << archive << QStringList{"2024003.x", "2024002.6"}
            << QStringList{"2024001.05", "2024002.6", "2024003.x"} << 1 << 1 << 0;
        QTest::newRow("newest first, periods of different length")
            << QStringList{"9.01"} << QStringList{"11.02", "10.01"} << QStringList{"10.01", "11.02", "9.01"}
            << 2 << 0 << 0;
        QTest::newRow("an unsorted archive comes out sorted")
            << QStringList{"2024003.01", "2024001.01"} << QStringList{"2024002.01"}
            << QStringList{"2024001.01", "2024002.01", "2024003.01"} << 1 << 0 << 0;
        QTest::newRow("lines that are no draw stay")
            << QStringList{"abc.x", "123", ""} << QStringList{"2024001.05"}
            << QStringList{"", "123", "2024001.05", "abc.x"} << 1 << 0 << 0;
        QTest::newRow("nothing to import") << archive << QStringList{} << archive << 0 << 0 << 0;
        const QStringList reds{"2024001.01 02 03 04 05 06", "2024002.03 09 14 22 27 33"};
        QTest::newRow("numbers of several fields compared whole")
            << reds
            << QStringList{"2024001.01 02 03 04 05 06", "2024002.03 09 14 22 27 3",
                           "2024003.01 02 03 04 05 06"}
            << QStringList{"2024001.01 02 03 04 05 06", "2024002.03 09 14 22 27 3",
                           "2024003.01 02 03 04 05 06"}
            << 1 << 1 << 1;
        QTest::newRow("a period of several numbers takes one")
            << reds << QStringList{"2024002.03"} << QStringList{"2024001.01 02 03 04 05 06", "2024002.03"}
            << 0 << 1 << 0;
    }

    // Into a UTF-8 file, merged in its bytes, and a UTF-16 one, merged in its text: the same lines.
    void merge() {
        QFETCH(QStringList, archive);
        QFETCH(QStringList, records);
        QFETCH(QStringList, lines);
        QFETCH(int, added);
        QFETCH(int, replaced);
        QFETCH(int, same);
        for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf16Le}) {
            const std::optional<QByteArray> file =
                archive.isEmpty() ? std::nullopt : std::optional(encodeRecordLines(archive, encoding));
            const MergedRecordFile merged = mergeIntoRecordFile(file, recordsOf(records), encoding);
            QCOMPARE(merged.bytes, encodeRecordLines(lines, encoding));
            QCOMPARE(merged.counts.added, added);
            QCOMPARE(merged.counts.replaced, replaced);
            QCOMPARE(merged.counts.same, same);
        }
    }

    // The whole file is merged, also the lines before the data-entry page's window, and written
    // back in its own encoding.
    void importKeepsTheWholeFile_data() {
        QTest::addColumn<TextEncoding>("encoding");
        QTest::newRow("UTF-8") << TextEncoding::Utf8;
        QTest::newRow("UTF-8 with mark") << TextEncoding::Utf8Bom;
        QTest::newRow("GB18030") << TextEncoding::Gb18030;
        QTest::newRow("UTF-16 LE") << TextEncoding::Utf16Le;
    }

    void importKeepsTheWholeFile() {
        QFETCH(TextEncoding, encoding);
        const QString path = recordFilePath("3D");
        QStringList file = draws(1, 150);
        file.append(QStringLiteral("南粤"));
        QVERIFY(writeBytes(path, encodeRecordLines(file, encoding)));
        QCOMPARE(decodeRecordBytes(readBytes(path)).encoding, encoding);

        const ImportCounts counts =
            importRecords(path, recordsOf({"19001.36", "19151.08", "19150.07"}), TextEncoding::Utf8);
        QCOMPARE(counts.added, 1);
        QCOMPARE(counts.replaced, 1);
        QCOMPARE(counts.same, 1);
        QStringList expected = draws(1, 151);
        expected[0] = "19001.36";
        expected.append(QStringLiteral("南粤"));
        QCOMPARE(readBytes(path), encodeRecordLines(expected, encoding));

        RecordList list;
        QVERIFY(list.load("3D"));
        QCOMPARE(list.lines(), expected.mid(expected.size() - RecordList::kWindow));
    }

    // The update at start-up adds new periods only: a record the archive holds stays, whatever the
    // page says of it; a file that nothing changes is not written at all.
    void keepExistingRecords() {
        const QString path = recordFilePath("双色球");
        QVERIFY(writeBytes(path, encodeRecordLines({"2024001.05", "2024002.06"}, TextEncoding::Utf8)));
        const ImportCounts counts = importRecords(path, recordsOf({"2024002.09", "2024003.01", "2024001.05"}),
                                                  TextEncoding::Utf8, ExistingRecords::Kept);
        QCOMPARE(counts.added, 1);
        QCOMPARE(counts.replaced, 0);
        QCOMPARE(counts.same, 1);
        QCOMPARE(counts.kept, 1);
        QCOMPARE(readBytes(path),
                 encodeRecordLines({"2024001.05", "2024002.06", "2024003.01"}, TextEncoding::Utf8));

        QVERIFY(QFile::setPermissions(path, kReadOnlyFile));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(path, kWritableFile); });
        // Nothing new: no write, so no write error either.
        QCOMPARE(importRecords(path, recordsOf({"2024002.07", "2024003.01"}), TextEncoding::Utf8,
                               ExistingRecords::Kept)
                     .kept,
                 1);
    }

    void importCreatesAMissingFile() {
        const QString path = recordFilePath("双色球");
        importRecords(path, {}, TextEncoding::Utf8Bom);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(importRecords(path, recordsOf({"2024002.16", "2024001.05"}), TextEncoding::Utf8Bom).added,
                 2);
        QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF"
                                             "2024001.05\r\n2024002.16\r\n"));
    }

    void failedImportLeavesTheFile_data() {
        QTest::addColumn<QString>("failure");
        if (FileSizeLimit::kAvailable)
            QTest::newRow("full disk") << "full disk";
        QTest::newRow("read-only file") << "read-only file";
        QTest::newRow("read-only folder") << "read-only folder";
    }

    void failedImportLeavesTheFile() {
        QFETCH(QString, failure);
        const QString path = recordFilePath("3D");
        const QByteArray bytes = encodeRecordLines(draws(1, 150), TextEncoding::Utf8);
        QVERIFY(writeBytes(path, bytes));
        std::unique_ptr<FileSizeLimit> limit;
        if (failure == "full disk") {
            limit = std::make_unique<FileSizeLimit>(bytes.size());
            QVERIFY(limit->isActive());
        } else if (failure == "read-only file") {
            QVERIFY(QFile::setPermissions(path, kReadOnlyFile));
        } else {
            QVERIFY(QFile::setPermissions(dataFolder(), kReadOnlyFolder));
            if (!isReadOnlyFolder(dataFolder()))
                QSKIP("a folder cannot be made read-only here");
        }
        const auto restore = qScopeGuard([&] {
            limit.reset();
            QFile::setPermissions(dataFolder(), kWritableFolder);
            QFile::setPermissions(path, kWritableFile);
        });
        try {
            importRecords(path, recordsOf(draws(151, 300)), TextEncoding::Utf8);
            QFAIL("no error raised");
        } catch (const Error& error) {
            QVERIFY2(error.message().startsWith("Cannot create file \"" + path + "\". "),
                     qPrintable(error.message()));
        }
        QCOMPARE(readBytes(path), bytes);
    }
};

int runRecordImportTests(int argc, char** argv) {
    RecordImportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "record_import_test.moc"
