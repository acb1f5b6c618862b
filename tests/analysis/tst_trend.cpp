#include "analysis/analysis_run.h"
#include "analysis/draw_numbers.h"
#include "analysis/group_statistics.h"
#include "analysis/mark_check.h"
#include "analysis/number_match.h"
#include "analysis/trend_chart.h"
#include "analysis/trend_csv.h"
#include "analysis/trend_run.h"
#include "data_home.h"
#include "storage/data_folder.h"
#include "storage/record_order.h"
#include "worked_example.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>
#include <optional>

using namespace dravik;
using dravik::test::kDraws;
using dravik::test::recordLinesOf;

Q_DECLARE_METATYPE(dravik::DisplayMode)

namespace {

QStringList builtInGroups(DisplayMode mode) {
    return analysisGroups(QStringLiteral("36"), QStringLiteral("6"), QStringLiteral("6"), QStringLiteral("0"),
                          1, mode)
        .groups;
}

// A row as "period|number|hit group|cell cell …", a hit group of −1 as "-".
QString rowText(const TrendChart& chart, int row) {
    QStringList cells;
    for (int g = 0; g < chart.groupCount(); ++g)
        cells.append(chart.cellText(row, g));
    const int hit = chart.hitGroup[row];
    return QStringList{chart.period(row), chart.number(row),
                       hit < 0 ? QStringLiteral("-") : QString::number(hit), cells.join(QLatin1Char(' '))}
        .join(QLatin1Char('|'));
}

// The six footer rows, each the values of the groups joined by blanks.
QStringList footerTexts(const TrendChart& chart) {
    QStringList rows;
    for (int f = 0; f < kTrendFooterCount; ++f) {
        QStringList values;
        for (const TrendFigures& figures : chart.figures)
            values.append(trendFooterText(figures, TrendFooter(f)));
        rows.append(values.join(QLatin1Char(' ')));
    }
    return rows;
}

// A generated archive: mostly labels of 1..36 written with their "0", now and then a number no
// label matches (unpadded, out of range, blank).
QStringList generatedArchive(int count, quint32 seed) {
    QRandomGenerator random(seed);
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const int n = int(random.bounded(40)) + 1;
        QString number = n <= 36 ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')) : QString();
        if (n == 37)
            number = QStringLiteral("3");
        else if (n == 38)
            number = QStringLiteral("37");
        lines.append(QString::number(100000 + i) + QLatin1Char('.') + number);
    }
    return lines;
}

// A generated archive of draws of k numbers (k > 1): k fields of 1..36 written with their "0", drawn
// with repeats, now and then "3" or "37" (no label) among them or a draw cut short, the fields apart
// by a blank, two blanks or a tab. k = 1 is generatedArchive.
QStringList generatedDraws(int count, quint32 seed, int k) {
    if (k == 1)
        return generatedArchive(count, seed);
    QRandomGenerator random(seed);
    const QString separators[] = {QStringLiteral(" "), QStringLiteral("  "), QStringLiteral("\t")};
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        const int size = random.bounded(12) == 0 ? int(random.bounded(k)) : k;
        QStringList fields;
        while (fields.size() < size) {
            const int n = int(random.bounded(38)) + 1;
            fields.append(n <= 36   ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                          : n == 37 ? QStringLiteral("3")
                                    : QStringLiteral("37"));
        }
        QString number;
        for (const QString& field : fields)
            number += (number.isEmpty() ? QString() : separators[random.bounded(3)]) + field;
        lines.append(QString::number(100000 + i) + QLatin1Char('.') + number);
    }
    return lines;
}

// A row of a chart of several numbers a draw: rowText, then each cell's cellNumbersText joined by
// ",".
QString numbersRowText(const TrendChart& chart, int row) {
    QStringList cells;
    for (int g = 0; g < chart.groupCount(); ++g)
        cells.append(chart.cellNumbersText(row, g));
    return rowText(chart, row) + QLatin1Char('|') + cells.join(QLatin1Char(','));
}

struct Setting {
    const char* name;
    QStringList xabc;
    int start;
    DisplayMode mode;
};
const QList<Setting> kSettings = {
    {"36 6 6 0 sequential", {"36", "6", "6", "0"}, 1, DisplayMode::Sequential},
    {"36 6 6 0 interval", {"36", "6", "6", "0"}, 1, DisplayMode::Interval},
    {"36 5 7 1 sequential", {"36", "5", "7", "1"}, 1, DisplayMode::Sequential},
    {"20 3 6 2 interval", {"20", "3", "6", "2"}, 1, DisplayMode::Interval},
    {"36 36 1 0, one label each", {"36", "36", "1", "0"}, 1, DisplayMode::Sequential},
    {"36 6 6 0 from 0", {"36", "6", "6", "0"}, 0, DisplayMode::Sequential},
};

AnalysisGroups groupsOf(const Setting& s) {
    return analysisGroups(s.xabc[0], s.xabc[1], s.xabc[2], s.xabc[3], s.start, s.mode);
}

} // namespace

class TrendTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    void chart_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<int>("labelCount");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QStringList>("firstRows"); // compared with the chart's first rows
        QTest::addColumn<QStringList>("footers");

        const QStringList worked = recordLinesOf(kDraws);
        const QStringList seq = builtInGroups(DisplayMode::Sequential);
        const QStringList gap = builtInGroups(DisplayMode::Interval);
        const QStringList workedFirstRows{"24001|08|1|1 08 1 1 1 1", "24002|18|2|2 1 18 2 2 2",
                                          "24003|20|3|3 2 1 20 3 3"};
        const QStringList workedFooters{"2 8 9 7 4 0",  "5.0 5.0 5.0 5.0 5.0 5.0",
                                        "9 2 2 2 5 30", "28 6 12 7 7 30",
                                        "2 1 1 4 1 0",  "0 6 12 2 7 30"};
        QTest::newRow("worked example, sequential, 全部")
            << worked << seq << 36 << kWholeArchive << 30 << workedFirstRows << workedFooters;
        QTest::newRow("window longer than the archive")
            << worked << seq << 36 << 100 << 30 << workedFirstRows << workedFooters;
        QTest::newRow("worked example, interval")
            << worked << gap << 36 << 30 << 30 << QStringList{"24001|08|1|1 08 1 1 1 1"}
            << QStringList{"5 6 6 3 5 5", "5.0 5.0 5.0 5.0 5.0 5.0",
                           "4 3 3 6 4 4", "10 8 6 14 10 11",
                           "2 1 2 2 2 1", "3 2 0 5 1 4"};
        // The omissions of the first window row count back over the draws before the window; the
        // group 01..06 and 31..36, never hit before, count from the archive's first draw.
        QTest::newRow("window of 10: omissions from before it")
            << worked << seq << 36 << 10 << 10 << QStringList{"24021|30|4|21 1 3 2 30 21"}
            << QStringList{"2 2 0 4 2 0",   "1.7 1.7 1.7 1.7 1.7 1.7",
                           "2 2 10 1 2 10", "8 6 10 4 7 10",
                           "2 1 0 4 1 0",   "0 6 10 2 7 10"};

        // "3" is not "03"; a blank number, a number no label matches and a line without "." (all of
        // it the number) as well; the third group is never hit.
        QTest::newRow("unmatched numbers, a group never hit")
            << QStringList{"1.3", "2.03", "3.", "4.37", "05"}
            << QStringList{"01.02.03", "04.05.06", "07.08.09"} << 9 << kWholeArchive << 5
            << QStringList{"1|3|-|1 1 1", "2|03|0|03 2 2", "3||-|1 3 3", "4|37|-|2 4 4", "|05|1|3 05 5"}
            << QStringList{"1 1 0", "1.7 1.7 1.7", "2 2 5", "3 4 5", "1 1 0", "3 0 5"};

        // Group 1 is hit by the three draws before the window's second row and by the last two rows:
        // its runs are cut at the window's start and end there; group 2's longest omission is the
        // window's end.
        QTest::newRow("runs at the window's edges")
            << QStringList{"1.01", "2.02", "3.03", "4.10", "5.04", "6.05"}
            << QStringList{"01.02.03.04.05", "10"} << 6 << 4 << 4
            << QStringList{"3|03|0|03 3", "4|10|1|1 10", "5|04|0|04 1", "6|05|0|05 2"}
            << QStringList{"3 1", "3.3 0.7", "0 1", "1 2", "2 1", "0 2"};

        QTest::newRow("no draws") << QStringList() << seq << 36 << 30 << 0 << QStringList()
                                  << QStringList{"0 0 0 0 0 0", "0.0 0.0 0.0 0.0 0.0 0.0",
                                                 "0 0 0 0 0 0", "0 0 0 0 0 0",
                                                 "0 0 0 0 0 0", "0 0 0 0 0 0"};
    }

    void chart() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, groups);
        QFETCH(int, labelCount);
        QFETCH(int, window);
        QFETCH(int, rowCount);
        QFETCH(QStringList, firstRows);
        QFETCH(QStringList, footers);

        const TrendChart chart = buildTrendChart(lines, groups, labelCount, window);
        QCOMPARE(chart.rowCount(), rowCount);
        QCOMPARE(chart.groups, groups);
        QStringList rows;
        for (int r = 0; r < firstRows.size(); ++r)
            rows.append(rowText(chart, r));
        QCOMPARE(rows, firstRows);
        QCOMPARE(footerTexts(chart), footers);
    }

    void chartSeveralNumbers_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<int>("labelCount");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("k");
        QTest::addColumn<bool>("line"); // drawsTrendLine
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("footers");

        // 33 ÷ 3 = 11 … 0. A hit cell shows the one number or the count; the third draw holds three
        // numbers, the last 17 twice. 理论次数 5 · 6 · 11/33; 平均遗漏 counts draws: (5 − 3) div 4,
        // (5 − 4) div 5.
        const QStringList sixOf33{"1.01 05 12 19 26 33", "2.02 03 04 05 15 30", "3.07 08 09",
                                  "4.13 16 18 20 21 25", "5.17 23 24 17 27 28"};
        const QStringList zones =
            analysisGroups(QStringLiteral("33"), QStringLiteral("3"), QStringLiteral("11"),
                           QStringLiteral("0"), 1, DisplayMode::Sequential)
                .groups;
        QTest::newRow("K = 6, zones of 11")
            << sixOf33 << zones << 33 << kWholeArchive << 6 << false
            << QStringList{"1|01 05 12 19 26 33|0|2 2 2|01 05,12 19,26 33",
                           "2|02 03 04 05 15 30|0|4 15 30|02 03 04 05,15,30",
                           "3|07 08 09|0|3 1 1|07 08 09,1,1",
                           "4|13 16 18 20 21 25|1|1 5 25|1,13 16 18 20 21,25",
                           "5|17 23 24 17 27 28|1|2 17 4|2,17,23 24 27 28"}
            << QStringList{"9 9 8", "10.0 10.0 10.0", "0 0 0", "2 1 1", "3 2 2", "2 0 0"};

        // The window's first row counts its omissions back over the two draws before it; numbers
        // stand in record order in the numbers text ("04 03"). 理论次数 4 · 2 · 2/6 = 2.7.
        const QStringList twoOf6{"1.02 01", "2.01 02", "3.04 03", "4.03 06", "5.06 05", "6.05 06"};
        const QStringList pairs{"01.02", "03.04", "05.06"};
        QTest::newRow("K = 2, window of 4")
            << twoOf6 << pairs << 6 << 4 << 2 << false
            << QStringList{"3|04 03|1|1 2 3|1,04 03,3", "4|03 06|1|2 03 06|2,03,06",
                           "5|06 05|2|3 1 2|3,1,06 05", "6|05 06|2|4 2 2|4,2,05 06"}
            << QStringList{"0 3 5", "2.7 2.7 2.7", "4 0 0", "4 2 1", "0 2 3", "4 2 0"};
        // The same lines at K = 1: each number text is one number, no label.
        QTest::newRow("the same at K = 1")
            << twoOf6 << pairs << 6 << 2 << 1 << true
            << QStringList{"5|06 05|-|5 5 5|5,5,5", "6|05 06|-|6 6 6|6,6,6"}
            << QStringList{"0 0 0", "0.7 0.7 0.7", "2 2 2", "2 2 2", "0 0 0", "2 2 2"};
    }

    void chartSeveralNumbers() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, groups);
        QFETCH(int, labelCount);
        QFETCH(int, window);
        QFETCH(int, k);
        QFETCH(bool, line);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, footers);

        const TrendChart chart = buildTrendChart(lines, groups, labelCount, window, k);
        QCOMPARE(chart.numbersPerDraw, k);
        QCOMPARE(chart.drawsTrendLine(), line);
        QStringList texts;
        for (int r = 0; r < chart.rowCount(); ++r)
            texts.append(numbersRowText(chart, r));
        QCOMPARE(texts, rows);
        QCOMPARE(footerTexts(chart), footers);
    }

    void footerNames() {
        QStringList names;
        for (int f = 0; f < kTrendFooterCount; ++f)
            names.append(trendFooterName(TrendFooter(f)));
        QCOMPARE(names,
                 (QStringList{"出现次数", "理论次数", "平均遗漏", "最大遗漏", "最大连出", "当前遗漏"}));
    }

    // The 出现次数 and 当前遗漏 footers of an N-draw window are the analysis table's 出现值 and 遗漏值.
    void footersMatchAnalysis_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("k");
        for (const int k : {1, 2, 6}) {
            for (const int depth : {30, 60, 100}) {
                for (int s = 0; s < kSettings.size(); ++s) {
                    const QByteArray name = "K = " + QByteArray::number(k) +
                                            ", N = " + QByteArray::number(depth) + ", " + kSettings[s].name;
                    QTest::newRow(name.constData()) << depth << s << k;
                }
            }
        }
    }

    void footersMatchAnalysis() {
        QFETCH(int, depth);
        QFETCH(int, setting);
        QFETCH(int, k);
        const QStringList lines = generatedDraws(250, 11, k);
        const AnalysisGroups groups = groupsOf(kSettings[setting]);
        const TrendChart chart = buildTrendChart(lines, groups.groups, groups.settings.values.x, depth, k);
        const QVector<ResultRow> table = groupStatistics(*latestDrawNumbers(lines, depth), groups.groups, k);
        QCOMPARE(chart.figures.size(), std::size_t(table.size()));
        for (int g = 0; g < table.size(); ++g) {
            QCOMPARE(trendFooterText(chart.figures[g], TrendFooter::Hits), table[g].occurrence);
            QCOMPARE(trendFooterText(chart.figures[g], TrendFooter::CurrentOmission), table[g].omission);
        }
    }

    // The running counts against the analysis recomputed from scratch for every draw checked.
    void markCheckMatchesReference_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("window");
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("k");
        const QList<QPair<int, int>> spans = {
            {30, 100}, {60, kWholeArchive}, {100, 200}, {100, 500}, {30, 10}};
        for (const int k : {1, 6}) {
            for (const auto& [depth, window] : spans) {
                for (int s = 0; s < kSettings.size(); ++s) {
                    const QByteArray name = "K = " + QByteArray::number(k) +
                                            ", N = " + QByteArray::number(depth) +
                                            ", W = " + QByteArray::number(window) + ", " + kSettings[s].name;
                    QTest::newRow(name.constData()) << depth << window << s << k;
                }
            }
        }
    }

    void markCheckMatchesReference() {
        QFETCH(int, depth);
        QFETCH(int, window);
        QFETCH(int, setting);
        QFETCH(int, k);
        const QStringList lines = generatedDraws(300, 23, k);
        const AnalysisGroups groups = groupsOf(kSettings[setting]);
        const int x = groups.settings.values.x;

        MarkCheck expected;
        expected.labelCount = x;
        expected.numbersPerDraw = k;
        const int total = int(lines.size());
        const int first = window == kWholeArchive ? 0 : std::max(total - window, 0);
        for (int t = std::max(first, depth); t < total; ++t) {
            const QStringList before = *latestDrawNumbers(lines.mid(0, t), depth);
            const QVector<ResultRow> rows = groupStatistics(before, groups.groups, k);
            const QString numberText = drawNumberOf(lines[t]);
            const std::vector<QStringView> numbers = drawNumbersIn(numberText, k);
            qint64 marked = 0;
            QSet<int> hitNumbers;
            for (const ResultRow& row : rows) {
                if (row.mark != kMark)
                    continue;
                const QStringList labels = labelSet(row.group);
                marked += labels.size();
                for (int n = 0; n < int(numbers.size()); ++n) {
                    for (const QString& label : labels) {
                        if (sameNumber(label, numbers[n].toString()))
                            hitNumbers.insert(n);
                    }
                }
            }
            ++expected.trials;
            expected.hits += hitNumbers.size();
            expected.markedLabels += marked;
            expected.spread += marked * (x - marked);
        }

        const MarkCheck check = checkMarks(lines, groups.groups, x, depth, window, k);
        QCOMPARE(check.trials, expected.trials);
        QCOMPARE(check.hits, expected.hits);
        QCOMPARE(check.markedLabels, expected.markedLabels);
        QCOMPARE(check.spread, expected.spread);
        QCOMPARE(check.labelCount, x);
        QCOMPARE(check.numbersPerDraw, k);
    }

    void markCheckText_data() {
        QTest::addColumn<int>("trials");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("labelCount");
        QTest::addColumn<qint64>("markedLabels");
        QTest::addColumn<qint64>("spread");
        QTest::addColumn<QString>("text");

        QTest::newRow("T = 0") << 0 << 0 << 36 << qint64(0) << qint64(0)
                               << QStringLiteral("数据量不足，无法回测");
        // X = 2, one label of two marked every time: E = T/2, variance T/4, two deviations √T.
        QTest::newRow("at two deviations: no difference")
            << 16 << 12 << 2 << qint64(16) << qint64(16)
            << QStringLiteral("荐号回测：近16期命中12次（75%），随机期望8.0次\n荐号与随机无明显差异");
        QTest::newRow("past two deviations above")
            << 16 << 13 << 2 << qint64(16) << qint64(16)
            << QStringLiteral("荐号回测：近16期命中13次（81%），随机期望8.0次\n荐号命中率高于随机");
        QTest::newRow("past two deviations below")
            << 16 << 3 << 2 << qint64(16) << qint64(16)
            << QStringLiteral("荐号回测：近16期命中3次（19%），随机期望8.0次\n荐号命中率低于随机");
        // 1/8 = 12.5 % and 9/36 = 0.25 go up.
        QTest::newRow("halves up")
            << 8 << 1 << 36 << qint64(9) << qint64(9 * 35 - 1)
            << QStringLiteral("荐号回测：近8期命中1次（13%），随机期望0.3次\n荐号与随机无明显差异");
    }

    void markCheckText() {
        QFETCH(int, trials);
        QFETCH(int, hits);
        QFETCH(int, labelCount);
        QFETCH(qint64, markedLabels);
        QFETCH(qint64, spread);
        QFETCH(QString, text);
        MarkCheck check;
        check.trials = trials;
        check.hits = hits;
        check.labelCount = labelCount;
        check.markedLabels = markedLabels;
        check.spread = spread;
        QCOMPARE(dravik::markCheckText(check), text);
    }

    // E = Σ K·k_t/X and the deviation of K numbers drawn out of X without putting back.
    void markCheckTextSeveralNumbers_data() {
        QTest::addColumn<int>("trials");
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("labelCount");
        QTest::addColumn<int>("k");
        QTest::addColumn<qint64>("markedLabels");
        QTest::addColumn<qint64>("spread");
        QTest::addColumn<QString>("text");

        // Six of 33, one zone of 11 marked in each of 10 draws: E = 6 · 110/33 = 20, variance
        // 6 · (1/3)(2/3) · 27/32 · 10 = 11.25, two deviations 6.71. Without the factor 27/32 they
        // would be 7.30 and 27 no difference.
        QTest::newRow("6 of 33, within two deviations above")
            << 10 << 26 << 33 << 6 << qint64(110) << qint64(10 * 11 * 22)
            << QStringLiteral("荐号回测：近10期开出60个号码，荐号组命中26个（43%），随机期望20.0个\n"
                              "荐号与随机无明显差异");
        QTest::newRow("6 of 33, past two deviations above")
            << 10 << 27 << 33 << 6 << qint64(110) << qint64(10 * 11 * 22)
            << QStringLiteral("荐号回测：近10期开出60个号码，荐号组命中27个（45%），随机期望20.0个\n"
                              "荐号命中率高于随机");
        QTest::newRow("6 of 33, within two deviations below")
            << 10 << 14 << 33 << 6 << qint64(110) << qint64(10 * 11 * 22)
            << QStringLiteral("荐号回测：近10期开出60个号码，荐号组命中14个（23%），随机期望20.0个\n"
                              "荐号与随机无明显差异");
        QTest::newRow("6 of 33, past two deviations below")
            << 10 << 13 << 33 << 6 << qint64(110) << qint64(10 * 11 * 22)
            << QStringLiteral("荐号回测：近10期开出60个号码，荐号组命中13个（22%），随机期望20.0个\n"
                              "荐号命中率低于随机");
        // 1/8 = 12.5 % and 2 · 9/8 = 2.25 go up.
        QTest::newRow("2 of 8, halves up")
            << 4 << 1 << 8 << 2 << qint64(9) << qint64(3 * 2 * 6 + 3 * 5)
            << QStringLiteral("荐号回测：近4期开出8个号码，荐号组命中1个（13%），随机期望2.3个\n"
                              "荐号与随机无明显差异");
        QTest::newRow("K = 1 as before")
            << 16 << 13 << 2 << 1 << qint64(16) << qint64(16)
            << QStringLiteral("荐号回测：近16期命中13次（81%），随机期望8.0次\n荐号命中率高于随机");
    }

    void markCheckTextSeveralNumbers() {
        QFETCH(int, trials);
        QFETCH(int, hits);
        QFETCH(int, labelCount);
        QFETCH(int, k);
        QFETCH(qint64, markedLabels);
        QFETCH(qint64, spread);
        QFETCH(QString, text);
        MarkCheck check;
        check.trials = trials;
        check.hits = hits;
        check.labelCount = labelCount;
        check.numbersPerDraw = k;
        check.markedLabels = markedLabels;
        check.spread = spread;
        QCOMPARE(dravik::markCheckText(check), text);
    }

    void run_data() {
        QTest::addColumn<std::optional<QStringList>>("lines");
        QTest::addColumn<QStringList>("xabc");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("groupCount");
        QTest::addColumn<QString>("check");

        const std::optional<QStringList> worked = recordLinesOf(kDraws);
        const QStringList builtIn{"36", "6", "6", "0"};
        QTest::newRow("missing record file") << std::optional<QStringList>() << builtIn << 30 << 0 << 0
                                             << QStringLiteral("Dravik[档]丢失，请重录");
        QTest::newRow("setting no integer") << worked << QStringList{"36", "6", "six", "0"} << 30 << 0 << 0
                                            << QStringLiteral("设置错，无法显示走势");
        // Unusable settings become 36 6 6 0 without a word; 30 draws leave none with 30 before it.
        QTest::newRow("unusable settings, N draws") << worked << QStringList{"36", "6", "6", "1"} << 30 << 30
                                                    << 6 << QStringLiteral("数据量不足，无法回测");
        QTest::newRow("fewer draws than N") << std::optional<QStringList>(worked->mid(5)) << builtIn << 30
                                            << 25 << 6 << QStringLiteral("数据量不足，无法回测");
        // N = 1 at the worked example: 29 draws checked. The mark of one draw is its own group
        // (omission 0), so k = 6 every time, E = 29 · 6/36; a hit is a draw in the group of the one
        // before it (24 after 22, 19 after 24, 20 after 19, 03 after 05).
        QTest::newRow("N = 1") << worked << builtIn << 1 << 30 << 6
                               << QStringLiteral(
                                      "荐号回测：近29期命中4次（14%），随机期望4.8次\n荐号与随机无明显差异");
    }

    void run() {
        QFETCH(std::optional<QStringList>, lines);
        QFETCH(QStringList, xabc);
        QFETCH(int, depth);
        QFETCH(int, rowCount);
        QFETCH(int, groupCount);
        QFETCH(QString, check);

        TrendInputs inputs;
        inputs.settings.archive = QStringLiteral("档");
        inputs.settings.depth = depth;
        inputs.settings.x = xabc[0];
        inputs.settings.a = xabc[1];
        inputs.settings.b = xabc[2];
        inputs.settings.c = xabc[3];
        inputs.settings.startValue = 1;
        inputs.window = 30;
        const TrendOutcome outcome = trendOfLines(inputs, lines);
        QCOMPARE(outcome.chart.rowCount(), rowCount);
        QCOMPARE(outcome.chart.groupCount(), groupCount);
        QCOMPARE(outcome.check, check);
    }

    // The trend tab's K text goes through numbersPerDraw with the X the chart uses.
    void runNumbersPerDraw_data() {
        QTest::addColumn<QString>("k");
        QTest::addColumn<int>("numbersPerDraw");
        QTest::addColumn<QString>("check");

        // N = 1, m = (1 · 2) div 3 = 0: the marks of a draw are the groups the one before it hit.
        // h = 2 + 0 + 1 + 2 + 2 of T · K = 10; E = 2 · (2 + 2 + 2 + 4 + 2)/6 = 4.0, variance
        // 2 · 40/36 · 4/5, two deviations 2.67 < 3.
        QTest::newRow("K = 2") << "2" << 2
                               << QStringLiteral(
                                      "荐号回测：近5期开出10个号码，荐号组命中7个（70%），随机期望4.0个\n"
                                      "荐号命中率高于随机");
        // K not below X: one number a draw, the whole text, which no label matches.
        QTest::newRow("K = X reads as 1")
            << "6" << 1
            << QStringLiteral("荐号回测：近5期命中0次（0%），随机期望0.0次\n荐号与随机无明显差异");
    }

    void runNumbersPerDraw() {
        QFETCH(QString, k);
        QFETCH(int, numbersPerDraw);
        QFETCH(QString, check);
        TrendInputs inputs;
        inputs.settings.archive = QStringLiteral("档");
        inputs.settings.depth = 1;
        inputs.settings.x = QStringLiteral("6");
        inputs.settings.a = QStringLiteral("3");
        inputs.settings.b = QStringLiteral("2");
        inputs.settings.c = QStringLiteral("0");
        inputs.settings.k = k;
        inputs.settings.startValue = 1;
        inputs.window = 30;
        const TrendOutcome outcome = trendOfLines(
            inputs, QStringList{"1.02 01", "2.01 02", "3.04 03", "4.03 06", "5.06 05", "6.05 06"});
        QCOMPARE(outcome.chart.rowCount(), 6);
        QCOMPARE(outcome.chart.numbersPerDraw, numbersPerDraw);
        QCOMPARE(outcome.check, check);
    }

    // A chart of more cells than the bound is not built: a hand-edited X of 10,000 with one label a
    // group over 全部 would otherwise ask for rows × 10,000 cells.
    void chartBound_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("groups");
        QTest::addColumn<bool>("fits");
        QTest::newRow("at the bound") << 1000 << 10000 << true;
        QTest::newRow("one row over") << 1001 << 10000 << false;
        QTest::newRow("no overflow") << 2147483647 << 2 << false;
        QTest::newRow("ordinary") << 100000 << 6 << true;
    }

    void chartBound() {
        QFETCH(int, rows);
        QFETCH(int, groups);
        QFETCH(bool, fits);
        QCOMPARE(trendChartFits(rows, groups), fits);
    }

    void tooLargeChartIsNotBuilt() {
        QStringList lines;
        for (int i = 0; i < 1001; ++i)
            lines.append(QStringLiteral("%1.%2").arg(20000 + i).arg(i % 10000));
        TrendInputs inputs;
        inputs.settings.archive = QStringLiteral("档");
        inputs.settings.depth = 30;
        inputs.settings.x = QStringLiteral("10000");
        inputs.settings.a = QStringLiteral("10000");
        inputs.settings.b = QStringLiteral("1");
        inputs.settings.c = QStringLiteral("0");
        inputs.window = kWholeArchive;
        const TrendOutcome whole = trendOfLines(inputs, lines);
        QCOMPARE(whole.chart.rowCount(), 0);
        QCOMPARE(whole.check, QStringLiteral("走势表过大（1001期×10000组），无法显示，请选较短的统计期数"));
        // A shorter window of the same settings is drawn.
        inputs.window = 30;
        const TrendOutcome shorter = trendOfLines(inputs, lines);
        QCOMPARE(shorter.chart.rowCount(), 30);
        QCOMPARE(shorter.chart.groupCount(), 10000);
    }

    // Quoting only where a field needs it: a period with a comma or a quotation mark, a number with
    // a line break cannot come from a record line, so the check's lines stand in for the rest.
    void csv() {
        const TrendChart chart =
            buildTrendChart({"24,1.05", "24\"2.3", "24003.01"}, {"01.02.03", "04.05.06"}, 6, kWholeArchive);
        const QByteArray expected = "\xEF\xBB\xBF"
                                    "期数,号码,1,2\r\n"
                                    "\"24,1\",05,1,05\r\n"
                                    "\"24\"\"2\",3,2,1\r\n"
                                    "24003,01,01,2\r\n"
                                    "出现次数,,1,1\r\n"
                                    "理论次数,,1.5,1.5\r\n"
                                    "平均遗漏,,1,1\r\n"
                                    "最大遗漏,,2,2\r\n"
                                    "最大连出,,1,1\r\n"
                                    "当前遗漏,,0,2\r\n"
                                    "\"第一行,甲\"\r\n"
                                    "\"第二\r行\"\r\n";
        QCOMPARE(trendCsv(chart, QStringLiteral("第一行,甲\n第二\r行")), expected);
    }

    // A hit cell of several numbers a draw holds them all, in record order, joined by one blank.
    void csvSeveralNumbers() {
        const TrendChart chart =
            buildTrendChart({"1.02 01", "2.01 02", "3.04 03", "4.03 06", "5.06 05", "6.05 06"},
                            {"01.02", "03.04", "05.06"}, 6, 4, 2);
        const QByteArray expected = "\xEF\xBB\xBF"
                                    "期数,号码,1,2,3\r\n"
                                    "3,04 03,1,04 03,3\r\n"
                                    "4,03 06,2,03,06\r\n"
                                    "5,06 05,3,1,06 05\r\n"
                                    "6,05 06,4,2,05 06\r\n"
                                    "出现次数,,0,3,5\r\n"
                                    "理论次数,,2.7,2.7,2.7\r\n"
                                    "平均遗漏,,4,0,0\r\n"
                                    "最大遗漏,,4,2,1\r\n"
                                    "最大连出,,0,2,3\r\n"
                                    "当前遗漏,,4,2,0\r\n";
        QCOMPARE(trendCsv(chart, QString()), expected);
    }

    // The tab reads the record file itself: the whole history, and a read error goes to the label.
    void runOnFile() {
        TrendInputs inputs;
        inputs.settings.archive = QStringLiteral("档");
        inputs.settings.x = QStringLiteral("36");
        inputs.settings.a = inputs.settings.b = QStringLiteral("6");
        inputs.settings.c = QStringLiteral("0");
        inputs.settings.startValue = 1;
        QCOMPARE(runTrend(inputs).check, QStringLiteral("Dravik[档]丢失，请重录"));

        ensureDataFolder();
        QFile file(recordFilePath(inputs.settings.archive));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((recordLinesOf(kDraws).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        file.close();
        const TrendOutcome outcome = runTrend(inputs);
        QCOMPARE(outcome.chart.rowCount(), 30);
        QCOMPARE(footerTexts(outcome.chart).first(), QStringLiteral("2 8 9 7 4 0"));

        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF"
                   "24001.\xFF\r\n");
        file.close();
        const TrendOutcome broken = runTrend(inputs);
        QCOMPARE(broken.chart.rowCount(), 0);
        QCOMPARE(
            broken.check,
            QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page"));
    }

private:
    test::TempDataHome home_;
};

QTEST_GUILESS_MAIN(TrendTest)
#include "tst_trend.moc"
