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

// The combo's choices by their place in it.
constexpr int kLast = 0;
constexpr int kSum = 8;
int fieldChoice(int field) {
    return field - 1;
}

// Draw lines 19001.01, 19002.02, ... in file order, which is also record order.
QStringList draws(int first, int last) {
    QStringList lines;
    for (int i = first; i <= last; ++i)
        lines.append(QStringLiteral("%1.%2").arg(19000 + i).arg(i % 36 + 1, 2, 10, QLatin1Char('0')));
    return lines;
}

// Record lines as an import hands them over.
ImportedRecords recordsOf(const QStringList& lines) {
    ImportedRecords records;
    for (const QString& line : lines)
        records.append(line.toUtf8().toStdString());
    return records;
}

// The choice of "号码取" with that caption, for an archive whose draws hold `numbersPerDraw` numbers.
std::optional<NumberColumn> choiceCaptioned(const QString& caption, int numbersPerDraw) {
    for (const NumberColumn& choice : numberColumnChoices(numbersPerDraw)) {
        if (choice.caption() == caption)
            return choice;
    }
    return std::nullopt;
}

QStringList rejectedAsText(const QList<RejectedLine>& rejected) {
    QStringList texts;
    for (const RejectedLine& line : rejected)
        texts.append(QString::number(line.lineNumber) + ':' + line.text);
    return texts;
}

} // namespace

class RecordImportTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        home_ = std::make_unique<TempDataHome>();
        QVERIFY(home_->isValid());
        ensureDataFolder();
    }
    void cleanup() { home_.reset(); }

    void choices() {
        QStringList captions;
        for (const NumberColumn& choice : numberColumnChoices())
            captions.append(choice.caption());
        QCOMPARE(captions, (QStringList{"最后一列", "第2列", "第3列", "第4列", "第5列", "第6列", "第7列",
                                        "第8列", "第2列起各列之和"}));
    }

    // Draws of K numbers: the choices for K, the default one's caption.
    void choicesForNumbersPerDraw_data() {
        QTest::addColumn<int>("numbersPerDraw");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("defaultCaption");
        const QStringList single{"最后一列", "第2列", "第3列", "第4列",          "第5列",
                                 "第6列",    "第7列", "第8列", "第2列起各列之和"};
        QTest::newRow("one number") << 1 << single << "最后一列";
        QTest::newRow("below one counts as one") << 0 << single << "最后一列";
        QTest::newRow("two") << 2 << QStringList{"第2列起2列", "最后2列"} + single << "第2列起2列";
        QTest::newRow("双色球 red balls")
            << 6 << QStringList{"第2列起6列", "最后6列"} + single << "第2列起6列";
        QTest::newRow("twenty") << 20 << QStringList{"第2列起20列", "最后20列"} + single << "第2列起20列";
    }

    void choicesForNumbersPerDraw() {
        QFETCH(int, numbersPerDraw);
        QFETCH(QStringList, captions);
        QFETCH(QString, defaultCaption);
        const QList<NumberColumn> choices = numberColumnChoices(numbersPerDraw);
        QStringList actual;
        for (const NumberColumn& choice : choices)
            actual.append(choice.caption());
        QCOMPARE(actual, captions);
        const qsizetype byDefault = defaultNumberColumnChoice(numbersPerDraw);
        QVERIFY(byDefault >= 0 && byDefault < choices.size());
        QCOMPARE(choices.at(byDefault).caption(), defaultCaption);
    }

    // Bytes as pasted or read from a file, the combo's choice → records and rejected lines
    // ("line number:text").
    void parse_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("rejected");
        const QStringList blue{"2024001.16"};
        const QString header = QStringLiteral("期号,红球,蓝球\r\n");
        const QString ssq = QStringLiteral("2024001,01,02,03,04,05,06,16\r\n");

        QTest::newRow("blanks") << QByteArray("2024001 01 02 03 04 05 06 16") << kLast << blue
                                << QStringList{};
        QTest::newRow("tabs") << QByteArray("2024001\t01\t02\t03\t04\t05\t06\t16") << kLast << blue
                              << QStringList{};
        QTest::newRow("commas") << QByteArray("2024001,01,02,03,04,05,06,16") << kLast << blue
                                << QStringList{};
        QTest::newRow("runs of mixed separators, at both ends too")
            << QByteArray(" \t2024001 ,\t01,,02  03\t\t16 ,") << kLast << blue << QStringList{};
        QTest::newRow("no-break, ideographic and full-width comma")
            << QStringLiteral("2024001\u00A001\u300002\uFF0C16").toUtf8() << kLast << blue << QStringList{};
        QTest::newRow("record form taken as it is, whatever the choice")
            << QByteArray("2024001.5\n2019.001.05\n2024002.\n2024003.x") << kSum
            << QStringList{"2024001.5", "2019.001.05", "2024002.", "2024003.x"} << QStringList{};
        QTest::newRow("a full stop beside a separator is split")
            << QByteArray("2024001 1.5 16\n2024002.05 16") << kLast << blue << QStringList{"2:2024002.05 16"};
        QTest::newRow("period before the full stop must be digits")
            << QByteArray(".05\na.05\n第1期.05") << kLast << QStringList{}
            << QStringList{"1:.05", "2:a.05", "3:第1期.05"};
        QTest::newRow("header line rejected, the rest imported")
            << QStringLiteral("期号 红球 蓝球\n2024001 01 02 03 04 05 06 16").toUtf8() << kLast << blue
            << QStringList{"1:期号 红球 蓝球"};
        QTest::newRow("date field ignored")
            << QByteArray("2024001 2024-01-02 01 02 03 04 05 06 16") << kLast << blue << QStringList{};
        QTest::newRow("date in the chosen column") << QByteArray("2024001 2024-01-02 01") << fieldChoice(2)
                                                   << QStringList{} << QStringList{"1:2024001 2024-01-02 01"};
        for (int field = 2; field <= 8; ++field) {
            QTest::addRow("column %d", field)
                << QByteArray("2024001 11 12 13 14 15 16 17 18") << fieldChoice(field)
                << QStringList{QStringLiteral("2024001.%1").arg(9 + field)} << QStringList{};
        }
        QTest::newRow("line without the chosen column")
            << QByteArray("2024001 01 02\n2024002") << fieldChoice(8) << QStringList{}
            << QStringList{"1:2024001 01 02", "2:2024002"};
        QTest::newRow("one field has no last column")
            << QByteArray("2024001") << kLast << QStringList{} << QStringList{"1:2024001"};
        QTest::newRow("period not digits")
            << QStringLiteral("第2024001期 01 16\n2024001a 16\n-2024001 16").toUtf8() << kLast
            << QStringList{} << QStringList{"1:第2024001期 01 16", "2:2024001a 16", "3:-2024001 16"};
        QTest::newRow("number not digits")
            << QByteArray("2024001 01 16x\n2024002 +5") << kLast << QStringList{}
            << QStringList{"1:2024001 01 16x", "2:2024002 +5"};
        QTest::newRow("sum of a 3D draw")
            << QByteArray("2024001 1 2 3\n2024002 0 0 0\n2024003 09 09 09") << kSum
            << QStringList{"2024001.6", "2024002.0", "2024003.27"} << QStringList{};
        QTest::newRow("sum skips a date")
            << QByteArray("2024001 2024-01-02 1 2 3") << kSum << QStringList{"2024001.6"} << QStringList{};
        QTest::newRow("sum without digit fields") << QByteArray("2024001 -\n2024002") << kSum << QStringList{}
                                                  << QStringList{"1:2024001 -", "2:2024002"};
        QTest::newRow("sum too large to hold")
            << QByteArray("2024001 18446744073709551615 1\n2024002 99999999999999999999") << kSum
            << QStringList{}
            << QStringList{"1:2024001 18446744073709551615 1", "2:2024002 99999999999999999999"};
        QTest::newRow("blank and whitespace-only lines skipped")
            << QByteArray("\n   \n\t\n , \n2024001 16\n\n") << kLast << blue << QStringList{};
        QTest::newRow("numbers kept as written")
            << QByteArray("2024001 5\n2024002 05\n2024003 005\n0012 1") << kLast
            << QStringList{"2024001.5", "2024002.05", "2024003.005", "0012.1"} << QStringList{};
        QTest::newRow("CR LF, LF and CR mixed")
            << QByteArray("a\r\n2024001 01\n2024002 02\r2024003 03\r\n\r\nb") << kLast
            << QStringList{"2024001.01", "2024002.02", "2024003.03"} << QStringList{"1:a", "6:b"};
        QTest::newRow("a period twice: both parsed, in order")
            << QByteArray("2024001 05\n2024001 06") << kLast << QStringList{"2024001.05", "2024001.06"}
            << QStringList{};
        QTest::newRow("NUL ends the text")
            << QByteArray("2024001 16\0\n2024002 17", 22) << kLast << blue << QStringList{};
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + (ssq + header).toUtf8() << kLast
                                         << blue << QStringList{"2:期号,红球,蓝球"};
        QTest::newRow("GB18030") << gb18030(header + ssq) << kLast << blue << QStringList{"1:期号,红球,蓝球"};
        QTest::newRow("UTF-16 LE") << utf16le(header + ssq) << kLast << blue
                                   << QStringList{"1:期号,红球,蓝球"};
        QTest::newRow("UTF-16 BE") << utf16be(header + ssq) << kLast << blue
                                   << QStringList{"1:期号,红球,蓝球"};
    }

    // Pasted (the field's text) and read from a file, the same outcome.
    void parse() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, choice);
        QFETCH(QStringList, records);
        QFETCH(QStringList, rejected);
        const NumberColumn column = numberColumnChoices().at(choice);
        const ParsedRecords pasted = parseImportText(decodeRecordText(bytes).text, column);
        QCOMPARE(pasted.records.toStringList(), records);
        QCOMPARE(rejectedAsText(pasted.rejected), rejected);

        const QString path = home_->path() + "/history.txt";
        QVERIFY(writeBytes(path, bytes));
        const ParsedRecords read = parseImportText(readImportText(path), column);
        QCOMPARE(read.records.toStringList(), records);
        QCOMPARE(rejectedAsText(read.rejected), rejected);
    }

    // Draws of K numbers: bytes, K, the choice by its caption → records and rejected lines.
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
        const QStringList header{"1:期号 红球 蓝球"};
        const QStringList reds{"2024001.01 02 03 04 05 06", "2024002.03 09 14 22 27 33"};

        QTest::newRow("red balls from the second field") << ssq << 6 << "第2列起6列" << reds << header;
        QTest::newRow("red and blue balls as the last seven")
            << ssq << 7 << "最后7列"
            << QStringList{"2024001.01 02 03 04 05 06 16", "2024002.03 09 14 22 27 33 07"} << header;
        QTest::newRow("the last six: a blue ball is one of them")
            << ssq << 6 << "最后6列" << QStringList{"2024001.02 03 04 05 06 16", "2024002.09 14 22 27 33 07"}
            << header;
        QTest::newRow("the blue ball alone, one number")
            << ssq << 1 << "最后一列" << QStringList{"2024001.16", "2024002.07"} << header;
        QTest::newRow("the blue ball alone, offered for six too")
            << ssq << 6 << "最后一列" << QStringList{"2024001.16", "2024002.07"} << header;

        const QByteArray dated = "2024001 2024-01-02 01 02 03 04 05 06\n"
                                 "2024002 03 09 14 22 27 33 2024-01-04";
        QTest::newRow("a date before the numbers, the last six")
            << dated << 6 << "最后6列" << QStringList{"2024001.01 02 03 04 05 06"}
            << QStringList{"2:2024002 03 09 14 22 27 33 2024-01-04"};
        QTest::newRow("a date before the numbers, from the second")
            << dated << 6 << "第2列起6列" << QStringList{"2024002.03 09 14 22 27 33"}
            << QStringList{"1:2024001 2024-01-02 01 02 03 04 05 06"};

        QTest::newRow("any separators, joined by one blank")
            << QStringLiteral(" 2024001,01,\t02  03\u300004\uFF0C05\u00A006 ,").toUtf8() << 6 << "最后6列"
            << QStringList{"2024001.01 02 03 04 05 06"} << QStringList{};
        QTest::newRow("numbers kept as written")
            << QByteArray("2024001 1 02 003 4 5 6 7") << 6 << "第2列起6列"
            << QStringList{"2024001.1 02 003 4 5 6"} << QStringList{};

        const QByteArray fewFields = "2024001 01 02 03 04 05\n"
                                     "01 02 03 04 05 06\n"
                                     "\t2024003 01 02 03 04 05\n"
                                     "2024002 01 02 03 04 05 06";
        for (const QString& choice : {QStringLiteral("第2列起6列"), QStringLiteral("最后6列")}) {
            QTest::addRow("too few fields, %s", qPrintable(choice))
                << fewFields << 6 << choice << QStringList{"2024002.01 02 03 04 05 06"}
                << QStringList{"1:2024001 01 02 03 04 05", "2:01 02 03 04 05 06",
                               "3:\t2024003 01 02 03 04 05"};
        }
        const QByteArray letters = "2024001 01 02 0x 04 05 06 16\n"
                                   "2024002 01 02 03 04 05 06 蓝16\n"
                                   "第2024003期 01 02 03 04 05 06";
        QTest::newRow("fields not digits, from the second")
            << letters << 6 << "第2列起6列" << QStringList{"2024002.01 02 03 04 05 06"}
            << QStringList{"1:2024001 01 02 0x 04 05 06 16", "3:第2024003期 01 02 03 04 05 06"};
        QTest::newRow("fields not digits, the last six")
            << letters << 6 << "最后6列" << QStringList{}
            << QStringList{"1:2024001 01 02 0x 04 05 06 16", "2:2024002 01 02 03 04 05 06 蓝16",
                           "3:第2024003期 01 02 03 04 05 06"};

        // The record form, whatever the choice: exactly K numbers, one blank between them.
        const QByteArray records = "2024001.01 02 03 04 05 06\n"
                                   "2024006.09\n"
                                   "2024002.01 02 03 04 05\n"
                                   "2024003.01 02 03 04 05 06 07\n"
                                   "2024004.01  02 03 04 05 06\n"
                                   "2024005.01\t02 03 04 05 06\n"
                                   "2024007.01 02 03 04 05 x\n"
                                   "a.01 02 03 04 05 06\n"
                                   "2024008.01 02 03 04 05 06 \n"
                                   "\n"
                                   "2024009.1 2 3 004 5 6";
        const QStringList wrongForm{"4:2024003.01 02 03 04 05 06 07", "5:2024004.01  02 03 04 05 06",
                                    "6:2024005.01\t02 03 04 05 06",   "7:2024007.01 02 03 04 05 x",
                                    "8:a.01 02 03 04 05 06",          "9:2024008.01 02 03 04 05 06 "};
        QTest::newRow("records of six numbers")
            << records << 6 << "第2列起各列之和"
            << QStringList{"2024001.01 02 03 04 05 06", "2024009.1 2 3 004 5 6"}
            << QStringList{"2:2024006.09", "3:2024002.01 02 03 04 05"} + wrongForm;
        QTest::newRow("records of seven numbers")
            << records << 7 << "最后7列" << QStringList{"2024003.01 02 03 04 05 06 07"}
            << QStringList{"1:2024001.01 02 03 04 05 06", "2:2024006.09", "3:2024002.01 02 03 04 05"} +
                   wrongForm.mid(1) + QStringList{"11:2024009.1 2 3 004 5 6"};
        QTest::newRow("records of one number, as today")
            << records << 1 << "最后一列" << QStringList{"2024006.09"}
            << QStringList{"1:2024001.01 02 03 04 05 06", "3:2024002.01 02 03 04 05"} + wrongForm +
                   QStringList{"11:2024009.1 2 3 004 5 6"};
    }

    // Pasted and read from a file, the same outcome.
    void parseSeveralNumbers() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, numbersPerDraw);
        QFETCH(QString, choice);
        QFETCH(QStringList, records);
        QFETCH(QStringList, rejected);
        const std::optional<NumberColumn> column = choiceCaptioned(choice, numbersPerDraw);
        QVERIFY2(column, qPrintable(choice));
        const ParsedRecords pasted = parseImportText(decodeRecordText(bytes).text, *column, numbersPerDraw);
        QCOMPARE(pasted.records.toStringList(), records);
        QCOMPARE(rejectedAsText(pasted.rejected), rejected);

        const QString path = home_->path() + "/history.txt";
        QVERIFY(writeBytes(path, bytes));
        const ParsedRecords read = parseImportText(readImportText(path), *column, numbersPerDraw);
        QCOMPARE(read.records.toStringList(), records);
        QCOMPARE(rejectedAsText(read.rejected), rejected);
    }

    // What the import writes, first records first: a period repeated later shows only its later line.
    void firstWritten_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("no repeats") << QByteArray("1.01\n2.02\n3.03") << 2 << QStringList{"1.01", "2.02"};
        QTest::newRow("later line wins")
            << QByteArray("1.01\n2.02\n1.05\n3.03") << 3 << QStringList{"2.02", "1.05", "3.03"};
        QTest::newRow("repeat beyond the count")
            << QByteArray("1.01\n2.02\n3.03\n1.09") << 2 << QStringList{"2.02", "3.03"};
        QTest::newRow("periods compared exactly")
            << QByteArray("01.01\n1.02") << 3 << QStringList{"01.01", "1.02"};
        QTest::newRow("the same line twice") << QByteArray("1.01\n1.01") << 3 << QStringList{"1.01"};
    }

    void firstWritten() {
        QFETCH(QByteArray, text);
        QFETCH(int, count);
        QFETCH(QStringList, written);
        const ParsedRecords parsed = parseImportText(QByteArrayView(text), numberColumnChoices().first());
        QCOMPARE(firstWrittenRecords(parsed.records, count), written);
    }

    void readFile() {
        const QString path = home_->path() + "/history.txt";
        const QString text = QStringLiteral("期号 蓝球\r\n2024001 16\r2024002 01");
        QVERIFY(writeBytes(path, gb18030(text)));
        QCOMPARE(readImportText(path), text.toUtf8());
        try {
            readImportText(home_->path() + "/gone.txt");
            QFAIL("no error raised");
        } catch (const Error& error) {
            QVERIFY(error.message().startsWith("Cannot open file \"" + home_->path() + "/gone.txt\". "));
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

private:
    std::unique_ptr<TempDataHome> home_;
};

int runRecordImportTests(int argc, char** argv) {
    RecordImportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "record_import_test.moc"
