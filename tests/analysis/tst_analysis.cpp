#include "analysis/analysis_run.h"
#include "analysis/division_settings.h"
#include "analysis/draw_numbers.h"
#include "analysis/group_statistics.h"
#include "analysis/grouping.h"
#include "analysis/number_labels.h"
#include "analysis/number_match.h"
#include "data_home.h"
#include "storage/error.h"
#include "worked_example.h"

#include <QtTest>
#include <optional>

using namespace dravik;
using dravik::test::kDraws;
using dravik::test::recordLinesOf;

Q_DECLARE_METATYPE(std::optional<QStringList>)
Q_DECLARE_METATYPE(dravik::DisplayMode)
Q_DECLARE_METATYPE(dravik::AnalysisOutcome::Table)

namespace {

// The settings' texts X, A, B, C and K as the inputs of a run.
AnalysisInputs settingsInputs(const QStringList& xabck) {
    AnalysisInputs inputs;
    inputs.x = xabck[0];
    inputs.a = xabck[1];
    inputs.b = xabck[2];
    inputs.c = xabck[3];
    inputs.k = xabck[4];
    return inputs;
}

// Rows written as "group occurrence omission mark", a missing mark as "-".
QStringList rowTexts(const QVector<ResultRow>& rows) {
    QStringList texts;
    for (const ResultRow& row : rows) {
        texts.append(QStringList{row.group, row.occurrence, row.omission,
                                 row.mark.isEmpty() ? QStringLiteral("-") : row.mark}
                         .join(QLatin1Char(' ')));
    }
    return texts;
}

QStringList rangeOf(int from, int to, int start) {
    QStringList labels;
    for (int k = from; k <= to; ++k)
        labels.append(start == 1 && k < 10 ? QStringLiteral("0%1").arg(k) : QString::number(k));
    return labels;
}

const QStringList kWorkedSequential = {
    QStringLiteral("01.02.03.04.05.06 2 0 √"),  QStringLiteral("07.08.09.10.11.12 8 6 √"),
    QStringLiteral("13.14.15.16.17.18 9 12 -"), QStringLiteral("19.20.21.22.23.24 7 2 -"),
    QStringLiteral("25.26.27.28.29.30 4 7 -"),  QStringLiteral("31.32.33.34.35.36 0 30 -"),
};
// Five draws of a game of six numbers out of 33, oldest first: the third holds three numbers only,
// the last one number twice.
const QStringList kSixOf33 = {
    QStringLiteral("01 05 12 19 26 33"), QStringLiteral("02 03 04 05 15 30"), QStringLiteral("07 08 09"),
    QStringLiteral("13 16 18 20 21 25"), QStringLiteral("17 23 24 17 27 28"),
};
// Six draws of two numbers out of 01..06, oldest first.
const QStringList kTwoOf6 = {
    QStringLiteral("02 01"), QStringLiteral("01 02"), QStringLiteral("04 03"),
    QStringLiteral("03 06"), QStringLiteral("06 05"), QStringLiteral("05 06"),
};

const QStringList kWorkedInterval = {
    QStringLiteral("01.07.13.19.25.31 5 3 -"), QStringLiteral("02.08.14.20.26.32 6 2 -"),
    QStringLiteral("03.09.15.21.27.33 6 0 √"), QStringLiteral("04.10.16.22.28.34 3 5 -"),
    QStringLiteral("05.11.17.23.29.35 5 1 -"), QStringLiteral("06.12.18.24.30.36 5 4 -"),
};

} // namespace

class AnalysisTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    void drawNumbers_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("depth");
        QTest::addColumn<std::optional<QStringList>>("expected");

        QStringList thirty = recordLinesOf(kDraws);
        QTest::newRow("exactly N lines") << thirty << 30 << std::optional<QStringList>(kDraws);
        QTest::newRow("N - 1 lines") << thirty.mid(1) << 30 << std::optional<QStringList>();
        QTest::newRow("no lines") << QStringList() << 30 << std::optional<QStringList>();

        QStringList withBlank = thirty.mid(1);
        withBlank.insert(10, QString());
        QStringList expectedBlank = kDraws.mid(1);
        expectedBlank.insert(10, QString());
        QTest::newRow("a blank line counts") << withBlank << 30 << std::optional<QStringList>(expectedBlank);

        QStringList longFile;
        QStringList lastHundred;
        for (int i = 0; i < 150; ++i) {
            const QString number = QString::number(i % 36 + 1);
            longFile.append(QStringLiteral("%1.%2").arg(20000 + i).arg(number));
            if (i >= 50)
                lastHundred.append(number);
        }
        QTest::newRow("150 lines at N = 100") << longFile << 100 << std::optional<QStringList>(lastHundred);

        QTest::newRow("cut at the first full stop")
            << QStringList{QStringLiteral("24001.07"),   QStringLiteral("24001.7"),
                           QStringLiteral("24001.07.1"), QStringLiteral("24001."),
                           QStringLiteral("0715"),       QStringLiteral("24001. 7 ")}
            << 6
            << std::optional<QStringList>(QStringList{QStringLiteral("07"), QStringLiteral("7"),
                                                      QStringLiteral("07.1"), QString(),
                                                      QStringLiteral("0715"), QStringLiteral(" 7 ")});
    }

    void drawNumbers() {
        QFETCH(QStringList, lines);
        QFETCH(int, depth);
        QFETCH(std::optional<QStringList>, expected);
        QCOMPARE(latestDrawNumbers(lines, depth), expected);
    }

    void divisionCheck_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<bool>("rule");
        QTest::addColumn<bool>("usable");

        QTest::newRow("built-in 36 6 6 0") << 36 << 6 << 6 << 0 << true << true;
        QTest::newRow("36 5 7 1") << 36 << 5 << 7 << 1 << true << true;
        QTest::newRow("A = 1") << 60 << 1 << 60 << 0 << true << true;
        QTest::newRow("B = 1") << 60 << 60 << 1 << 0 << true << true;
        QTest::newRow("C not below A") << 36 << 2 << 15 << 6 << false << false;
        QTest::newRow("C equals A and B") << 42 << 6 << 6 << 6 << false << false;
        QTest::newRow("sum does not match") << 36 << 6 << 6 << 1 << false << false;
        QTest::newRow("C < 0") << 35 << 6 << 6 << -1 << true << false;
        QTest::newRow("A <= 0") << -8 << -1 << 6 << -2 << true << false;
        QTest::newRow("B <= 0") << -15 << 6 << -2 << -3 << true << false;
        QTest::newRow("all zero") << 0 << 0 << 0 << 0 << false << false;
        QTest::newRow("10,000 labels") << 10000 << 1 << 10000 << 0 << true << true;
        QTest::newRow("10,001 labels") << 10001 << 1 << 10001 << 0 << true << false;
        QTest::newRow("X = 2000000000, A = 1") << 2000000000 << 1 << 2000000000 << 0 << true << false;
        // 65536 · 65536 wraps to 0 in 32 bits; it must not pass as X = 0.
        QTest::newRow("product past 32 bits") << 0 << 65536 << 65536 << 0 << false << false;
    }

    void divisionCheck() {
        QFETCH(int, x);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(bool, rule);
        QFETCH(bool, usable);
        const DivisionSettings s{x, a, b, c};
        QCOMPARE(passesDivisionRule(s), rule);
        QCOMPARE(isUsableDivision(s), usable);
        const SettingsCheck check = checkDivision(s);
        QCOMPARE(check.substituted, !usable);
        QCOMPARE(check.values, usable ? s : kDefaultDivision);
    }

    void labels_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("start");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("X = 10 from 1") << 10 << 1 << rangeOf(1, 10, 1);
        QTest::newRow("X = 10 from 0") << 10 << 0 << rangeOf(0, 9, 0);
        QTest::newRow("X = 36 from 1") << 36 << 1 << rangeOf(1, 36, 1);
        QTest::newRow("X = 36 from 0") << 36 << 0 << rangeOf(0, 35, 0);
        QTest::newRow("no three-digit padding") << 100 << 1 << rangeOf(1, 100, 1);
        QTest::newRow("X = 0") << 0 << 1 << QStringList();
        QTest::newRow("X < 0") << -5 << 0 << QStringList();
    }

    void labels() {
        QFETCH(int, x);
        QFETCH(int, start);
        QFETCH(QStringList, expected);
        QCOMPARE(buildLabels(x, start), expected);
    }

    void grouping_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("start");
        QTest::addColumn<DisplayMode>("mode");
        QTest::addColumn<QStringList>("expected");

        const auto seq = DisplayMode::Sequential;
        const auto gap = DisplayMode::Interval;
        QTest::newRow("20 3 6 2 sequential")
            << 20 << 3 << 6 << 2 << 1 << seq
            << QStringList{"01.02.03.04.05.06", "07.08.09.10.11.12", "13.14.15.16.17.18", "19.20"};
        QTest::newRow("20 3 6 2 interval")
            << 20 << 3 << 6 << 2 << 1 << gap
            << QStringList{"01.04.07.10.13.16.19", "02.05.08.11.14.17.20", "03.06.09.12.15.18"};
        QTest::newRow("36 6 6 0 sequential from 1")
            << 36 << 6 << 6 << 0 << 1 << seq
            << QStringList{"01.02.03.04.05.06", "07.08.09.10.11.12", "13.14.15.16.17.18",
                           "19.20.21.22.23.24", "25.26.27.28.29.30", "31.32.33.34.35.36"};
        QTest::newRow("36 6 6 0 interval from 1")
            << 36 << 6 << 6 << 0 << 1 << gap
            << QStringList{"01.07.13.19.25.31", "02.08.14.20.26.32", "03.09.15.21.27.33",
                           "04.10.16.22.28.34", "05.11.17.23.29.35", "06.12.18.24.30.36"};
        QTest::newRow("36 6 6 0 interval from 0")
            << 36 << 6 << 6 << 0 << 0 << gap
            << QStringList{"0.6.12.18.24.30", "1.7.13.19.25.31",  "2.8.14.20.26.32",
                           "3.9.15.21.27.33", "4.10.16.22.28.34", "5.11.17.23.29.35"};
        QTest::newRow("36 5 7 1 sequential")
            << 36 << 5 << 7 << 1 << 1 << seq
            << QStringList{"01.02.03.04.05.06.07", "08.09.10.11.12.13.14", "15.16.17.18.19.20.21",
                           "22.23.24.25.26.27.28", "29.30.31.32.33.34.35", "36"};
        QTest::newRow("36 5 7 1 interval")
            << 36 << 5 << 7 << 1 << 1 << gap
            << QStringList{"01.06.11.16.21.26.31.36", "02.07.12.17.22.27.32", "03.08.13.18.23.28.33",
                           "04.09.14.19.24.29.34", "05.10.15.20.25.30.35"};
        const QString all = rangeOf(1, 12, 1).join(QLatin1Char('.'));
        QTest::newRow("A = 1 sequential") << 12 << 1 << 12 << 0 << 1 << seq << QStringList{all};
        QTest::newRow("A = 1 interval") << 12 << 1 << 12 << 0 << 1 << gap << QStringList{all};
        QTest::newRow("B = 1 sequential") << 12 << 12 << 1 << 0 << 1 << seq << rangeOf(1, 12, 1);
        QTest::newRow("B = 1 interval") << 12 << 12 << 1 << 0 << 1 << gap << rangeOf(1, 12, 1);
    }

    void grouping() {
        QFETCH(int, x);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, start);
        QFETCH(DisplayMode, mode);
        QFETCH(QStringList, expected);
        QCOMPARE(groupLabels(buildLabels(x, start), DivisionSettings{x, a, b, c}, mode), expected);
    }

    void matching_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("draw");
        QTest::addColumn<bool>("same");

        QTest::newRow("same digits") << "07"
                                     << "07" << true;
        QTest::newRow("3 vs 03") << "03"
                                 << "3" << false;
        QTest::newRow("1 vs 01") << "1"
                                 << "01" << false;
        QTest::newRow("blank after") << "07"
                                     << "07 " << false;
        QTest::newRow("blank before") << "7"
                                      << " 7" << false;
        QTest::newRow("later full stop") << "07"
                                         << "07.1" << false;
        QTest::newRow("empty") << "07"
                               << "" << false;
        QTest::newRow("letter case ignored") << "a7"
                                             << "A7" << true;
    }

    void matching() {
        QFETCH(QString, label);
        QFETCH(QString, draw);
        QFETCH(bool, same);
        QCOMPARE(sameNumber(label, draw), same);
        QCOMPARE(sameNumber(draw, label), same);
    }

    void labelSet_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("one label") << "05" << QStringList{"05"};
        QTest::newRow("several") << "01.07.13" << QStringList{"01", "07", "13"};
        QTest::newRow("repeats count once") << "01.02.01.02" << QStringList{"01", "02"};
        QTest::newRow("padding keeps labels apart") << "7.07" << QStringList{"7", "07"};
        QTest::newRow("letter case") << "a1.A1" << QStringList{"a1"};
    }

    void labelSet() {
        QFETCH(QString, group);
        QFETCH(QStringList, expected);
        QCOMPARE(dravik::labelSet(group), expected);
    }

    void recommendation_data() {
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<int>("omission");
        QTest::addColumn<int>("m");
        QTest::addColumn<bool>("marked");

        QTest::newRow("latest draw, few hits") << 2 << 0 << 5 << true;
        QTest::newRow("m hits, omission m") << 5 << 5 << 5 << true;
        QTest::newRow("omission 2m") << 8 << 10 << 5 << true;
        QTest::newRow("omission past 2m") << 9 << 11 << 5 << false;
        QTest::newRow("omission below m") << 7 << 2 << 5 << false;
        QTest::newRow("too few hits") << 4 << 7 << 5 << false;
        QTest::newRow("never hit") << 0 << 30 << 5 << false;
        QTest::newRow("m = 0, latest hit") << 1 << 0 << 0 << true;
        QTest::newRow("m = 0, older hit") << 1 << 1 << 0 << false;
    }

    void recommendation() {
        QFETCH(int, occurrence);
        QFETCH(int, omission);
        QFETCH(int, m);
        QFETCH(bool, marked);
        QCOMPARE(isRecommended(occurrence, omission, m), marked);
    }

    void statistics_data() {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("worked example, sequential")
            << kDraws << groupLabels(buildLabels(36, 1), {36, 6, 6, 0}, DisplayMode::Sequential)
            << kWorkedSequential;
        QTest::newRow("worked example, interval")
            << kDraws << groupLabels(buildLabels(36, 1), {36, 6, 6, 0}, DisplayMode::Interval)
            << kWorkedInterval;

        // 40 rows over 30 draws: m = 0, only the latest draw's row is marked.
        QStringList expectedWide;
        for (int k = 1; k <= 40; ++k) {
            const QString label = k < 10 ? QStringLiteral("0%1").arg(k) : QString::number(k);
            const int hits = kDraws.count(label);
            const int last = int(kDraws.lastIndexOf(label));
            const int omission = last < 0 ? 30 : 29 - last;
            expectedWide.append(
                QStringLiteral("%1 %2 %3 %4").arg(label).arg(hits).arg(omission).arg(k == 3 ? "√" : "-"));
        }
        QTest::newRow("more rows than draws")
            << kDraws << groupLabels(buildLabels(40, 1), {40, 40, 1, 0}, DisplayMode::Sequential)
            << expectedWide;

        QTest::newRow("3 is not 03: a miss for every row, still walked")
            << QStringList{"03", "3", "3"} << QStringList{"01.02.03", "04.05.06"}
            << QStringList{"01.02.03 1 2 √", "04.05.06 0 3 -"};
        QTest::newRow("blank, unknown and untrimmed numbers miss")
            << QStringList{"05", "", "37", " 05", "05.1"} << QStringList{"01.02.03.04.05.06"}
            << QStringList{"01.02.03.04.05.06 1 4 -"};
        QTest::newRow("a number drawn again counts each time")
            << QStringList{"02", "02", "02", "09"} << QStringList{"01.02", "09.10"}
            << QStringList{"01.02 3 1 -", "09.10 1 0 √"};
        QTest::newRow("a repeated label counts a draw once")
            << QStringList{"02", "02"} << QStringList{"02.02"} << QStringList{"02.02 2 0 √"};
        QTest::newRow("no draws") << QStringList() << QStringList{"01.02"} << QStringList{"01.02 0 0 √"};
        QTest::newRow("no rows") << kDraws << QStringList() << QStringList();
    }

    void statistics() {
        QFETCH(QStringList, draws);
        QFETCH(QStringList, groups);
        QFETCH(QStringList, expected);
        QCOMPARE(rowTexts(groupStatistics(draws, groups)), expected);
    }

    void numbersPerDraw_data() {
        QTest::addColumn<QString>("k");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");

        QTest::newRow("1") << "1" << 36 << 1;
        QTest::newRow("6 of 33") << "6" << 33 << 6;
        QTest::newRow("20 of 21") << "20" << 21 << 20;
        QTest::newRow("K = X") << "20" << 20 << 1;
        QTest::newRow("K > X") << "7" << 6 << 1;
        QTest::newRow("past 20") << "21" << 60 << 1;
        QTest::newRow("0") << "0" << 36 << 1;
        QTest::newRow("negative") << "-6" << 36 << 1;
        QTest::newRow("no integer") << "abc" << 36 << 1;
        QTest::newRow("empty") << "" << 36 << 1;
        QTest::newRow("the integer rule") << " 0x6" << 33 << 6;
    }

    void numbersPerDraw() {
        QFETCH(QString, k);
        QFETCH(int, x);
        QFETCH(int, expected);
        QCOMPARE(dravik::numbersPerDraw(k, x), expected);
    }

    void drawNumbersOfText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("K = 1: the whole text, blanks and all") << " 05 07 " << 1 << QStringList{" 05 07 "};
        QTest::newRow("K = 1: empty") << "" << 1 << QStringList{""};
        QTest::newRow("K = 6") << "01 05 12 19 26 33" << 6 << QStringList{"01", "05", "12", "19", "26", "33"};
        QTest::newRow("runs of blanks and tabs") << "\t01  05\t \t12 " << 6 << QStringList{"01", "05", "12"};
        QTest::newRow("a number twice counts once") << "05 12 05 19 12" << 6 << QStringList{"05", "12", "19"};
        QTest::newRow("05 and 5 differ") << "05 5" << 2 << QStringList{"05", "5"};
        QTest::newRow("letter case ignored") << "a1 b2 A1" << 2 << QStringList{"a1", "b2"};
        QTest::newRow("three digits and more")
            << "100 0100 100 10 12345678901234567890 12345678901234567890" << 6
            << QStringList{"100", "0100", "10", "12345678901234567890"};
        QTest::newRow("a repeat after a field that is no number")
            << "07 x 7 07" << 6 << QStringList{"07", "x", "7"};
        QTest::newRow("more fields than K") << "01 02 03" << 2 << QStringList{"01", "02", "03"};
        QTest::newRow("commas are no separator") << "01,02 03" << 2 << QStringList{"01,02", "03"};
        QTest::newRow("K > 1: empty") << " " << 6 << QStringList();
    }

    void drawNumbersOfText() {
        QFETCH(QString, text);
        QFETCH(int, k);
        QFETCH(QStringList, expected);
        QStringList numbers;
        for (const QStringView number : drawNumbersIn(text, k))
            numbers.append(number.toString());
        QCOMPARE(numbers, expected);
    }

    void statisticsSeveralNumbers_data() {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("expected");

        // m = (6 · 2) div 3 = 4: 03.04, 3 numbers and its latest draw 2 back, is not marked, as it
        // would be with m = 6 div 3 = 2; 01.02, 4 numbers 4 back, is.
        const QStringList twoOf6Groups{"01.02", "03.04", "05.06"};
        QTest::newRow("K = 2: numbers counted, m = (N·K) div R")
            << kTwoOf6 << twoOf6Groups << 2 << QStringList{"01.02 4 4 √", "03.04 3 2 -", "05.06 5 0 √"};
        QTest::newRow("the same draws at K = 1: one whole text each, no label")
            << kTwoOf6 << twoOf6Groups << 1 << QStringList{"01.02 0 6 -", "03.04 0 6 -", "05.06 0 6 -"};

        // 33 ÷ 3 = 11 … 0, m = (5 · 6) div 3 = 10; the short draw counts its three, 17 twice once.
        QTest::newRow("K = 6, zones of 11")
            << kSixOf33 << groupLabels(buildLabels(33, 1), {33, 3, 11, 0}, DisplayMode::Sequential) << 6
            << QStringList{"01.02.03.04.05.06.07.08.09.10.11 9 2 -", "12.13.14.15.16.17.18.19.20.21.22 9 0 √",
                           "23.24.25.26.27.28.29.30.31.32.33 8 0 √"};

        // 33 ÷ 33 = 1 … 0, m = 30 div 33 = 0: the latest draw's numbers are marked.
        const QString singles = QStringLiteral(
            "01 1 4 -|02 1 3 -|03 1 3 -|04 1 3 -|05 2 3 -|06 0 5 -|07 1 2 -|08 1 2 -|09 1 2 -|10 0 5 -|"
            "11 0 5 -|12 1 4 -|13 1 1 -|14 0 5 -|15 1 3 -|16 1 1 -|17 1 0 √|18 1 1 -|19 1 4 -|20 1 1 -|"
            "21 1 1 -|22 0 5 -|23 1 0 √|24 1 0 √|25 1 1 -|26 1 4 -|27 1 0 √|28 1 0 √|29 0 5 -|30 1 3 -|"
            "31 0 5 -|32 0 5 -|33 1 4 -");
        QTest::newRow("K = 6, single numbers")
            << kSixOf33 << groupLabels(buildLabels(33, 1), {33, 33, 1, 0}, DisplayMode::Sequential) << 6
            << singles.split(QLatin1Char('|'));

        QTest::newRow("a number twice counts once, 5 is not 05")
            << QStringList{"05 05", "5 06"} << QStringList{"05.06"} << 2 << QStringList{"05.06 2 0 √"};
    }

    void statisticsSeveralNumbers() {
        QFETCH(QStringList, draws);
        QFETCH(QStringList, groups);
        QFETCH(int, k);
        QFETCH(QStringList, expected);
        QCOMPARE(rowTexts(groupStatistics(draws, groups, k)), expected);
    }

    // The K text goes through numbersPerDraw with the X the run uses.
    void runNumbersPerDraw_data() {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QStringList>("xabck");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("rows");

        const QString settingsMessage = QStringLiteral("设置错，已改为默认设置");
        for (const char* k : {"1", "36", "99", "abc", ""}) {
            const QByteArray name = QByteArray("worked example, K = \"") + k + "\": K = 1";
            QTest::newRow(name.constData())
                << kDraws << QStringList{"36", "6", "6", "0", k} << QString() << kWorkedSequential;
        }
        // m = (30 · 6) div 6 = 30: only the row of the latest draw keeps its mark.
        QTest::newRow("worked example, K = 6")
            << kDraws << QStringList{"36", "6", "6", "0", "6"} << QString()
            << QStringList{"01.02.03.04.05.06 2 0 √", "07.08.09.10.11.12 8 6 -", "13.14.15.16.17.18 9 12 -",
                           "19.20.21.22.23.24 7 2 -", "25.26.27.28.29.30 4 7 -", "31.32.33.34.35.36 0 30 -"};
        QTest::newRow("six of 33 in zones")
            << kSixOf33 << QStringList{"33", "3", "11", "0", "6"} << QString()
            << QStringList{"01.02.03.04.05.06.07.08.09.10.11 9 2 -", "12.13.14.15.16.17.18.19.20.21.22 9 0 √",
                           "23.24.25.26.27.28.29.30.31.32.33 8 0 √"};
        // K = 6 against the X of the substitute settings, 36.
        QTest::newRow("settings replaced, K kept")
            << kTwoOf6 << QStringList{"6", "3", "2", "1", "6"} << settingsMessage
            << QStringList{"01.02.03.04.05.06 12 0 √", "07.08.09.10.11.12 0 6 -", "13.14.15.16.17.18 0 6 -",
                           "19.20.21.22.23.24 0 6 -",  "25.26.27.28.29.30 0 6 -", "31.32.33.34.35.36 0 6 -"};
        QTest::newRow("K not below X: 1") << kTwoOf6 << QStringList{"6", "3", "2", "0", "6"} << QString()
                                          << QStringList{"01.02 0 6 -", "03.04 0 6 -", "05.06 0 6 -"};
    }

    void runNumbersPerDraw() {
        QFETCH(QStringList, draws);
        QFETCH(QStringList, xabck);
        QFETCH(QString, message);
        QFETCH(QStringList, rows);

        const QStringList lines = recordLinesOf(draws);
        AnalysisInputs inputs;
        inputs.archive = QStringLiteral("档");
        inputs.records = RecordTail{lines.size(), lines};
        inputs.depth = int(lines.size());
        inputs.x = xabck[0];
        inputs.a = xabck[1];
        inputs.b = xabck[2];
        inputs.c = xabck[3];
        inputs.k = xabck[4];
        inputs.startValue = 1;
        const AnalysisOutcome outcome = runAnalysis(inputs);
        QCOMPARE(outcome.message, message);
        QCOMPARE(rowTexts(outcome.rows), rows);
    }

    // The K that import and data entry take from the settings as they stand.
    void numbersPerDrawOfSettings_data() {
        QTest::addColumn<QStringList>("xabck");
        QTest::addColumn<int>("expected");
        QTest::newRow("six of 33") << QStringList{"33", "3", "11", "0", "6"} << 6;
        QTest::newRow("against the substitute X") << QStringList{"6", "3", "2", "1", "6"} << 6;
        QTest::newRow("K not below X") << QStringList{"6", "3", "2", "0", "6"} << 1;
        QTest::newRow("X no integer") << QStringList{"abc", "3", "11", "0", "6"} << 1;
        QTest::newRow("C no integer") << QStringList{"33", "3", "11", "x", "6"} << 1;
    }

    void numbersPerDrawOfSettings() {
        QFETCH(QStringList, xabck);
        QFETCH(int, expected);
        QCOMPARE(numbersPerDrawOf(settingsInputs(xabck)), expected);
    }

    void run_data() {
        QTest::addColumn<std::optional<QStringList>>("lines");
        QTest::addColumn<int>("depth");
        QTest::addColumn<QStringList>("xabc");
        QTest::addColumn<DisplayMode>("mode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("isError");
        QTest::addColumn<AnalysisOutcome::Table>("table");
        QTest::addColumn<QStringList>("rows");

        using T = AnalysisOutcome::Table;
        const auto seq = DisplayMode::Sequential;
        const auto gap = DisplayMode::Interval;
        const std::optional<QStringList> worked = recordLinesOf(kDraws);
        const QStringList builtIn{"36", "6", "6", "0"};
        const QString settingsMessage = QStringLiteral("设置错，已改为默认设置");
        const QString tooFew = QStringLiteral("Dravik[档]数据量不足，无法分析");

        QTest::newRow("missing file")
            << std::optional<QStringList>() << 30 << QStringList{"x", "6", "6", "0"} << seq
            << QStringLiteral("Dravik[档]丢失，请重录") << false << T::Empty << QStringList();
        QTest::newRow("N - 1 lines, before any setting")
            << std::optional<QStringList>(worked->mid(1)) << 30 << QStringList{"x", "", "", ""} << seq
            << tooFew << false << T::Empty << QStringList();
        QTest::newRow("30 lines at N = 60")
            << worked << 60 << builtIn << seq << tooFew << false << T::Empty << QStringList();
        QTest::newRow("exactly N, sequential")
            << worked << 30 << builtIn << seq << QString() << false << T::Rows << kWorkedSequential;
        QTest::newRow("exactly N, interval")
            << worked << 30 << builtIn << gap << QString() << false << T::Rows << kWorkedInterval;

        std::optional<QStringList> longer =
            recordLinesOf(QStringList(70, QStringLiteral("31")) + kDraws, 23001);
        QTest::newRow("older lines take no part")
            << longer << 30 << builtIn << seq << QString() << false << T::Rows << kWorkedSequential;

        QTest::newRow("X is no integer")
            << worked << 30 << QStringList{"3 6", "x", "6", "0"} << seq
            << QStringLiteral("'3 6' is not a valid integer value") << true << T::Unchanged << QStringList();
        QTest::newRow("A before B") << worked << 30 << QStringList{"36", "", "y", "0"} << seq
                                    << QStringLiteral("'' is not a valid integer value") << true
                                    << T::Unchanged << QStringList();
        QTest::newRow("B") << worked << 30 << QStringList{"36", "6", "6.0", "z"} << seq
                           << QStringLiteral("'6.0' is not a valid integer value") << true << T::Unchanged
                           << QStringList();
        QTest::newRow("C") << worked << 30 << QStringList{"36", "6", "6", "zero"} << seq
                           << QStringLiteral("'zero' is not a valid integer value") << true << T::Unchanged
                           << QStringList();
        QTest::newRow("integer rule: blanks and hex")
            << worked << 30 << QStringList{"  36", "$6", "0x6", "+0"} << seq << QString() << false << T::Rows
            << kWorkedSequential;

        const QList<QStringList> failing = {
            {"36", "2", "15", "6"},       {"42", "6", "6", "6"},
            {"36", "6", "6", "1"},        {"35", "6", "6", "-1"},
            {"-8", "-1", "6", "-2"},      {"-15", "6", "-2", "-3"},
            {"0", "0", "0", "0"},         {"2000000000", "1", "2000000000", "0"},
            {"0", "65536", "65536", "0"},
        };
        for (const QStringList& values : failing) {
            const QByteArray name = "fails: " + values.join(QLatin1Char(' ')).toUtf8();
            QTest::newRow(name.constData())
                << worked << 30 << values << seq << settingsMessage << false << T::Rows << kWorkedSequential;
        }
        QTest::newRow("fails, interval") << worked << 30 << QStringList{"36", "6", "6", "1"} << gap
                                         << settingsMessage << false << T::Rows << kWorkedInterval;

        QStringList withBlanks = *worked;
        withBlanks[29] = QString(); // the latest draw is blank: it hits no row
        QTest::newRow("blank latest line")
            << std::optional<QStringList>(withBlanks) << 30 << builtIn << seq << QString() << false << T::Rows
            << QStringList{"01.02.03.04.05.06 1 1 -", "07.08.09.10.11.12 8 6 √", "13.14.15.16.17.18 9 12 -",
                           "19.20.21.22.23.24 7 2 -", "25.26.27.28.29.30 4 7 -", "31.32.33.34.35.36 0 30 -"};
    }

    void run() {
        QFETCH(std::optional<QStringList>, lines);
        QFETCH(int, depth);
        QFETCH(QStringList, xabc);
        QFETCH(DisplayMode, mode);
        QFETCH(QString, message);
        QFETCH(bool, isError);
        QFETCH(AnalysisOutcome::Table, table);
        QFETCH(QStringList, rows);

        AnalysisInputs inputs;
        inputs.archive = QStringLiteral("档");
        if (lines)
            inputs.records = RecordTail{lines->size(), *lines};
        inputs.depth = depth;
        inputs.x = xabc[0];
        inputs.a = xabc[1];
        inputs.b = xabc[2];
        inputs.c = xabc[3];
        inputs.startValue = 1;
        inputs.mode = mode;

        const AnalysisOutcome outcome = runAnalysis(inputs);
        QCOMPARE(outcome.message, message);
        QCOMPARE(outcome.messageIsError, isError);
        QCOMPARE(outcome.table, table);
        QCOMPARE(rowTexts(outcome.rows), rows);

        // Nothing is kept between runs.
        const AnalysisOutcome again = runAnalysis(inputs);
        QCOMPARE(again.message, outcome.message);
        QCOMPARE(again.rows, outcome.rows);
    }

    // An archive whose settings were only just created has no record file: the table empties
    // without a word.
    void missingRecordsNotTold() {
        AnalysisInputs inputs;
        inputs.archive = QStringLiteral("新");
        inputs.reportMissingRecords = false;
        const AnalysisOutcome outcome = runAnalysis(inputs);
        QCOMPARE(outcome.message, QString());
        QCOMPARE(outcome.table, AnalysisOutcome::Table::Empty);
    }

    // The numbers import and data entry take from the settings as they stand: the labels of the X the
    // analysis works with, and K.
    void archiveNumbersOfSettings_data() {
        QTest::addColumn<QStringList>("xabck");
        QTest::addColumn<int>("startValue");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("k");
        QTest::newRow("双色球 red balls") << QStringList{"33", "3", "11", "0", "6"} << 1 << "01～33" << 6;
        QTest::newRow("3D sums from zero") << QStringList{"28", "4", "7", "0", "1"} << 0 << "0～27" << 1;
        QTest::newRow("settings replaced by the built-in game's")
            << QStringList{"33", "3", "10", "0", "6"} << 1 << "01～36" << 6;
    }

    void archiveNumbersOfSettings() {
        QFETCH(QStringList, xabck);
        QFETCH(int, startValue);
        QFETCH(QString, range);
        QFETCH(int, k);
        AnalysisInputs inputs = settingsInputs(xabck);
        inputs.startValue = startValue;
        const ArchiveNumbers numbers = archiveNumbersOf(inputs);
        QCOMPARE(numbers.range(), range);
        QCOMPARE(numbers.perDraw(), k);
        inputs.x = QStringLiteral("三十三");
        QVERIFY_THROWS_EXCEPTION(Error, archiveNumbersOf(inputs));
    }

    void runAtStartValueZero() {
        AnalysisInputs inputs;
        inputs.archive = QStringLiteral("a");
        inputs.records = RecordTail{4, {"1.0", "2.35", "3.36", "4.7"}};
        inputs.depth = 4;
        inputs.x = QStringLiteral("36");
        inputs.a = QStringLiteral("6");
        inputs.b = QStringLiteral("6");
        inputs.c = QStringLiteral("0");
        inputs.startValue = 0;
        inputs.mode = DisplayMode::Interval;
        // "36" is no label from 0; "7" is, unpadded, in row 1.
        QCOMPARE(rowTexts(runAnalysis(inputs).rows),
                 (QStringList{"0.6.12.18.24.30 1 3 -", "1.7.13.19.25.31 1 0 √", "2.8.14.20.26.32 0 4 -",
                              "3.9.15.21.27.33 0 4 -", "4.10.16.22.28.34 0 4 -", "5.11.17.23.29.35 1 2 -"}));
    }

private:
    test::TempDataHome home_;
};

QTEST_GUILESS_MAIN(AnalysisTest)
#include "tst_analysis.moc"
