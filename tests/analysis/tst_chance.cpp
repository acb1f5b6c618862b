// The history against chance: the uniformity check of the window's labels, and the mark check run
// for every grouping of X at once.
#include "analysis/analysis_run.h"
#include "analysis/grouping_scan.h"
#include "analysis/mark_check.h"
#include "analysis/number_labels.h"
#include "analysis/trend_chart.h"
#include "analysis/trend_run.h"
#include "analysis/uniformity_check.h"
#include "worked_example.h"

#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <random>

using namespace dravik;
using dravik::test::recordLinesOf;

Q_DECLARE_METATYPE(dravik::DisplayMode)

namespace {

// Draw numbers of X labels "01".."X" (start 1) or "0".."X−1" (start 0) in turn, `count` of them.
QStringList cycle(int x, int start, int count) {
    const QStringList labels = buildLabels(x, start);
    QStringList draws;
    for (int i = 0; i < count; ++i)
        draws.append(labels[i % x]);
    return draws;
}

// Draw numbers in which label i of "0".."X−1" comes up counts[i] times.
QStringList ofCounts(const QList<int>& counts) {
    QStringList draws;
    for (int label = 0; label < counts.size(); ++label) {
        for (int i = 0; i < counts[label]; ++i)
            draws.append(QString::number(label));
    }
    return draws;
}

// Record lines of k distinct numbers of 01..36 a draw, written with their "0" and apart by a blank,
// now and then a number no label matches ("3", "37") or a blank line.
QStringList generatedDraws(int count, quint32 seed, int k) {
    QRandomGenerator random(seed);
    QStringList draws;
    for (int i = 0; i < count; ++i) {
        QStringList numbers;
        while (numbers.size() < k) {
            const int n = int(random.bounded(38)) + 1;
            const QString number = n <= 36   ? QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'))
                                   : n == 37 ? QStringLiteral("3")
                                             : QStringLiteral("37");
            if (!numbers.contains(number))
                numbers.append(number);
        }
        draws.append(random.bounded(50) == 0 ? QString() : numbers.join(QLatin1Char(' ')));
    }
    return recordLinesOf(draws);
}

// A made-up score: what the ranking and the report read of a check.
ScanScore score(qint32 a, DisplayMode mode, int depth, qint64 hits, qint64 markedLabels, qint64 spread,
                int labelCount = 2) {
    ScanScore s;
    s.setting = {{labelCount, a, labelCount / a, labelCount % a}, mode, depth};
    s.check.trials = 1;
    s.check.hits = hits;
    s.check.labelCount = labelCount;
    s.check.markedLabels = markedLabels;
    s.check.spread = spread;
    return s;
}

QString settingName(const ScanSetting& s) {
    return QStringLiteral("A=%1 %2 N=%3")
        .arg(s.division.a)
        .arg(s.mode == DisplayMode::Sequential ? QStringLiteral("顺序") : QStringLiteral("间隔"))
        .arg(s.depth);
}

} // namespace

class ChanceTest : public QObject {
    Q_OBJECT

private slots:
    void uniformity_data() {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("text");

        // Every label five times: O = E, χ² = 0, and p = ½·erfc(−6.2/√2) rounds to 1.
        QTest::newRow("uniform cycle") << cycle(10, 0, 50) << 10 << 0 << 1 << kWholeArchive
                                       << QStringLiteral("均匀性检验：近50期χ²=0.0（自由度9），p=1.00\n"
                                                         "号码出现与随机抽取相符");
        // Five more draws that are no label (blank, "10" beyond 0..9, "01" for "1") count in W' only.
        QStringList withOthers = cycle(10, 0, 50);
        withOthers << QString() << QStringLiteral("10") << QStringLiteral("01") << QStringLiteral("10")
                   << QString();
        QTest::newRow("numbers that are no label left out")
            << withOthers << 10 << 0 << 1 << kWholeArchive
            << QStringLiteral("均匀性检验：近55期χ²=0.0（自由度9），p=1.00\n号码出现与随机抽取相符");
        // "07" in every third draw, 01..36 in turn in the others: O = 95 for 07 and 5 for the rest,
        // n = 270, E = 7.5; χ² = (36·(35·25 + 95²) − 270²)/270 = 1050, p ≈ 2·10⁻¹⁵⁵.
        QStringList loaded;
        for (int i = 0, next = 0; i < 270; ++i)
            loaded.append(i % 3 == 2 ? QStringLiteral("07") : cycle(36, 1, 36)[next++ % 36]);
        QTest::newRow("loaded: one number in every third draw")
            << loaded << 36 << 1 << 1 << kWholeArchive
            << QStringLiteral("均匀性检验：近270期χ²=1050.0（自由度35），p=<0.01\n号码出现明显偏离随机");
        // Over its latest 30 draws: E = 30/36 < 5.
        QTest::newRow("E < 5") << loaded << 36 << 1 << 1 << 30
                               << QStringLiteral("均匀性检验：期数太少（每个号码期望出现不足5次）");
        // n = 5X − 1: E just under 5.
        QTest::newRow("E just under 5") << cycle(10, 0, 49) << 10 << 0 << 1 << kWholeArchive
                                        << QStringLiteral("均匀性检验：期数太少（每个号码期望出现不足5次）");
        // Six of 12: 01..06 in six draws, 07..12 in four: O = 6 or 4, n = 60, E = 5, Σ (O − E)²/E = 2.4,
        // times (12 − 1)/(12 − 6) = 4.4; p = 0.956 (without the factor it would read 2.4 and 1.00).
        QStringList six;
        for (int i = 0; i < 10; ++i)
            six.append(i < 6 ? QStringLiteral("01 02 03 04 05 06") : QStringLiteral("12 11 10  09\t08 07"));
        QTest::newRow("K = 6, corrected") << six << 12 << 1 << 6 << kWholeArchive
                                          << QStringLiteral("均匀性检验：近10期χ²=4.4（自由度11），p=0.96\n"
                                                            "号码出现与随机抽取相符");
        // A number twice in a draw counts once, one that is no label not at all: O = 7 for 01..04, 6 for
        // 05, 06, 4 for 07..12, n = 64; χ² = (12·364 − 64²)/64 · 11/6 = 7.79.
        QStringList repeats = six;
        repeats.append(QStringLiteral("01 01 13 02 03 04"));
        QTest::newRow("K = 6, a repeat and a number that is no label")
            << repeats << 12 << 1 << 6 << kWholeArchive
            << QStringLiteral("均匀性检验：近11期χ²=7.8（自由度11），p=0.73\n号码出现与随机抽取相符");
        // Σ (O − 10)² = 12² + 8² + 2² + 2² = 216 over 100 draws of 0..9: χ² = 21.6, p = 0.0103; with
        // 12² + 8² + 4² = 224, χ² = 22.4 and p = 0.0078: both read 0.01, the verdict goes by p itself.
        QTest::newRow("p just at 0.01")
            << ofCounts({22, 2, 8, 8, 10, 10, 10, 10, 10, 10}) << 10 << 0 << 1 << kWholeArchive
            << QStringLiteral("均匀性检验：近100期χ²=21.6（自由度9），p=0.01\n"
                              "号码出现与随机抽取相符");
        QTest::newRow("p just under 0.01")
            << ofCounts({22, 2, 6, 10, 10, 10, 10, 10, 10, 10}) << 10 << 0 << 1 << kWholeArchive
            << QStringLiteral("均匀性检验：近100期χ²=22.4（自由度9），p=0.01\n"
                              "号码出现明显偏离随机");
    }

    void uniformity() {
        QFETCH(QStringList, draws);
        QFETCH(int, x);
        QFETCH(int, start);
        QFETCH(int, k);
        QFETCH(int, window);
        QFETCH(QString, text);
        const Uniformity check = checkUniformity(recordLinesOf(draws), buildLabels(x, start), window, k);
        QCOMPARE(uniformityText(check), text);
    }

    // The approximation against the exact tail at a few points: within 0.002.
    void chiSquareTail_data() {
        QTest::addColumn<double>("chiSquare");
        QTest::addColumn<int>("df");
        QTest::addColumn<double>("p");
        QTest::newRow("df 9, 1 %") << 21.666 << 9 << 0.01;
        QTest::newRow("df 35, 5 %") << 49.802 << 35 << 0.05;
        QTest::newRow("df 35, 50 %") << 34.336 << 35 << 0.5;
        QTest::newRow("df 11, 95 %") << 4.575 << 11 << 0.95;
    }

    void chiSquareTail() {
        QFETCH(double, chiSquare);
        QFETCH(int, df);
        QFETCH(double, p);
        QVERIFY2(std::abs(dravik::chiSquareTail(chiSquare, df) - p) < 0.002,
                 qPrintable(QString::number(dravik::chiSquareTail(chiSquare, df))));
    }

    // The trend tab's run gives the check over its window, and nothing without a chart.
    void trendRunCarriesTheCheck() {
        TrendInputs inputs;
        inputs.settings.x = QStringLiteral("10");
        inputs.settings.a = QStringLiteral("5");
        inputs.settings.b = QStringLiteral("2");
        inputs.settings.c = QStringLiteral("0");
        inputs.settings.startValue = 0;
        inputs.window = 100;
        const QStringList lines = recordLinesOf(cycle(10, 0, 120));
        QCOMPARE(trendOfLines(inputs, lines).fair,
                 QStringLiteral("均匀性检验：近100期χ²=0.0（自由度9），p=1.00\n号码出现与随机抽取相符"));
        QCOMPARE(trendOfLines(inputs, std::nullopt).fair, QString());
    }

    // M: every A of 2..X − 1 whose B = X div A and C = X mod A have C < B (C < A always holds), × 2
    // modes × 3 depths.
    void settingCount_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<QList<int>>("as");
        // X = 36: A = 2 (18…0), 3 (12…0), 4 (9…0), 5 (7…1), 6 (6…0), 7 (5…1), 9 (4…0), 12 (3…0),
        // 18 (2…0); not 8 (4…4), 10 (3…6), 11 (3…3), 13–17 (2…10, 8, 6, 4, 2), 19–35 (1…C ≥ 1).
        // 9 × 2 × 3 = 54.
        QTest::newRow("X = 36") << 36 << QList<int>{2, 3, 4, 5, 6, 7, 9, 12, 18};
        // X = 33: A = 2 (16…1), 3 (11…0), 4 (8…1), 5 (6…3), 6 (5…3), 8 (4…1), 11 (3…0), 16 (2…1);
        // not 7 (4…5), 9 (3…6), 10 (3…3), 12–15 (2…9, 7, 5, 3), 17–32 (1…C ≥ 1). 8 × 2 × 3 = 48.
        QTest::newRow("X = 33") << 33 << QList<int>{2, 3, 4, 5, 6, 8, 11, 16};
        // X = 10: A = 2 (5…0), 3 (3…1), 5 (2…0); not 4 (2…2), 6–9. 18.
        QTest::newRow("X = 10") << 10 << QList<int>{2, 3, 5};
        QTest::newRow("X = 3: none") << 3 << QList<int>{};
    }

    void settingCount() {
        QFETCH(int, x);
        QFETCH(QList<int>, as);
        const std::vector<ScanSetting> settings = scanSettings(x);
        QCOMPARE(int(settings.size()), as.size() * 6);
        QCOMPARE(GroupingScan(QStringList(), x, 1, 1).settingCount(), as.size() * 6);
        if (x == 36)
            QCOMPARE(int(settings.size()), 54);
        if (x == 33)
            QCOMPARE(int(settings.size()), 48);
        // In the scan's order: A ascending, 顺序 before 间隔, N ascending.
        int i = 0;
        for (const int a : as) {
            for (const DisplayMode mode : {DisplayMode::Sequential, DisplayMode::Interval}) {
                for (const int depth : {30, 60, 100}) {
                    const ScanSetting& s = settings[i++];
                    QCOMPARE(s.division, (DivisionSettings{x, a, x / a, x % a}));
                    QCOMPARE(s.mode, mode);
                    QCOMPARE(s.depth, depth);
                }
            }
        }
    }

    // Each setting's check is exactly the mark check of that setting over the whole archive.
    void scanEqualsMarkCheck_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("draws");
        QTest::newRow("X = 36 from 1, K = 1") << 36 << 1 << 1 << 400;
        QTest::newRow("X = 36 from 0, K = 1") << 36 << 0 << 1 << 400;
        QTest::newRow("X = 33 from 1, K = 6") << 33 << 1 << 6 << 400;
        QTest::newRow("X = 36 from 1, K = 6, 70 draws: N = 100 checks none") << 36 << 1 << 6 << 70;
    }

    void scanEqualsMarkCheck() {
        QFETCH(int, x);
        QFETCH(int, start);
        QFETCH(int, k);
        QFETCH(int, draws);
        const QStringList lines = generatedDraws(draws, 7, k);
        const std::optional<std::vector<ScanScore>> scores = scanGroupings(lines, x, start, k);
        QVERIFY(scores);
        QCOMPARE(scores->size(), scanSettings(x).size());
        for (const ScanScore& s : *scores) {
            const DivisionSettings& d = s.setting.division;
            const AnalysisGroups groups =
                analysisGroups(QString::number(d.x), QString::number(d.a), QString::number(d.b),
                               QString::number(d.c), start, s.setting.mode);
            QVERIFY(!groups.settings.substituted);
            const MarkCheck check = checkMarks(lines, groups.groups, x, s.setting.depth, kWholeArchive, k);
            const QByteArray name = settingName(s.setting).toUtf8();
            QVERIFY2(s.check.trials == check.trials, name);
            QVERIFY2(s.check.hits == check.hits, name);
            QVERIFY2(s.check.markedLabels == check.markedLabels, name);
            QVERIFY2(s.check.spread == check.spread, name);
            QVERIFY2(s.check.labelCount == x && s.check.numbersPerDraw == k, name);
            QCOMPARE(s.check.trials, std::max(draws - s.setting.depth, 0));
        }
    }

    // 31 draws of "0" out of 0..9: with N = 30 one draw is checked; the group of "0" is marked (hit by
    // the latest draw) and no other (none hit, m ≥ 6), the draw hits it, so h = 1, E = k/10 for the k
    // labels of that group and z = (1 − k/10)/√((k/10)(1 − k/10)) = √((10 − k)/k). N = 60 and 100
    // check no draw and have no z. The group of "0": A = 5 {0, 1} and {0, 5}: z = 2; A = 3 顺序
    // {0, 1, 2}: √(7/3) = 1.53; A = 3 间隔 {0, 3, 6, 9}: √(6/4) = 1.22; A = 2: z = 1. Best of 18 at
    // z = 2: p₁ = 0.02275, P = 100·(1 − 0.97725^18) = 33.9.
    void handWorkedReport() {
        const ScanReport report = scanReport(*scanGroupings(recordLinesOf(cycle(1, 0, 31)), 10, 0, 1));
        QCOMPARE(report.best, (QStringList{
                                  QStringLiteral("A=5，B=2，C=0，顺序，N=30：命中1个，期望0.2个， z=2.00"),
                                  QStringLiteral("A=5，B=2，C=0，间隔，N=30：命中1个，期望0.2个， z=2.00"),
                                  QStringLiteral("A=3，B=3，C=1，顺序，N=30：命中1个，期望0.3个， z=1.53"),
                                  QStringLiteral("A=3，B=3，C=1，间隔，N=30：命中1个，期望0.4个， z=1.22"),
                                  QStringLiteral("A=2，B=5，C=0，顺序，N=30：命中1个，期望0.5个， z=1.00"),
                                  QStringLiteral("A=2，B=5，C=0，间隔，N=30：命中1个，期望0.5个， z=1.00"),
                              }));
        QCOMPARE(
            report.summary,
            (QStringList{
                QStringLiteral("共回测18种分组，最好的z=2.00。纯随机时，18种中至少一种达到它的机会约为34%"),
                QStringLiteral("最好的分组与运气无法区分")}));
    }

    void tooFewDraws() {
        const ScanReport report = scanReport(*scanGroupings(recordLinesOf(cycle(36, 1, 30)), 36, 1, 1));
        QCOMPARE(report.best, QStringList());
        QCOMPARE(report.summary, QStringList{QStringLiteral("数据量不足，无法回测")});
    }

    // Ten lines at most, highest z first.
    void tenBest() {
        const std::optional<std::vector<ScanScore>> scores =
            scanGroupings(generatedDraws(300, 11, 1), 36, 1, 1);
        const ScanReport report = scanReport(*scores);
        QCOMPARE(report.best.size(), 10);
        const std::vector<ScanScore> ranked = rankedScores(*scores);
        for (int i = 1; i < int(ranked.size()); ++i)
            QVERIFY(*markCheckZ(ranked[i - 1].check) >= *markCheckZ(ranked[i].check));
        QVERIFY(report.summary.value(0).startsWith(QStringLiteral("共回测54种分组，最好的z=")));
    }

    // Equal z, even from other counts (d/√s = 1/√1 = 2/√4), keep A ascending, 顺序 before 间隔, N
    // ascending; σ = 0 is left out. X = 2 and K = 1 make z = (2h − Σk)/√s.
    void tieOrder() {
        const DisplayMode seq = DisplayMode::Sequential;
        const DisplayMode gap = DisplayMode::Interval;
        const std::vector<ScanScore> scores = {
            score(3, seq, 30, 1, 1, 1),   // z = 1
            score(2, gap, 30, 2, 2, 4),   // z = 1
            score(2, seq, 60, 1, 1, 1),   // z = 1
            score(7, seq, 30, 5, 5, 0),   // σ = 0
            score(2, seq, 30, 3, 4, 4),   // z = 1
            score(2, seq, 100, 1, 1, 4),  // z = 0.5
            score(5, gap, 100, 3, 4, 1),  // z = 2
            score(2, gap, 100, 0, 1, 1),  // z = −1
            score(2, gap, 60, 5, 10, 25), // z = 0
        };
        QStringList order;
        for (const ScanScore& s : rankedScores(scores))
            order.append(settingName(s.setting));
        QCOMPARE(order, (QStringList{"A=5 间隔 N=100", "A=2 顺序 N=30", "A=2 顺序 N=60", "A=2 间隔 N=30",
                                     "A=3 顺序 N=30", "A=2 顺序 N=100", "A=2 间隔 N=60", "A=2 间隔 N=100"}));
        const ScanReport report = scanReport(scores);
        QCOMPARE(report.best.size(), 8);
        QCOMPARE(report.best.last(),
                 QStringLiteral("A=2，B=1，C=0，间隔，N=100：命中0个，期望0.5个， z=-1.00"));
        QCOMPARE(report.best.value(6),
                 QStringLiteral("A=2，B=1，C=0，间隔，N=60：命中5个，期望5.0个， z=0.00"));
    }

    // P = 100·(1 − (1 − p₁)^M) rounded; the verdict turns at 5.
    void verdict_data() {
        QTest::addColumn<qint64>("hits");
        QTest::addColumn<qint64>("spread");
        QTest::addColumn<QStringList>("summary");
        // X = 2, one score: z = (2h − T)/√T with T = 400, h = 217: z = 1.70, P = 4.46.
        QTest::newRow("P = 4: may beat luck")
            << qint64(217) << qint64(400)
            << QStringList{
                   QStringLiteral("共回测1种分组，最好的z=1.70。纯随机时，1种中至少一种达到它的机会约为4%"),
                   QStringLiteral("最好的分组可能优于运气，请用今后的开奖再检验")};
        // T = 2500, h = 1292: z = 84/50 = 1.68, P = 4.65.
        QTest::newRow("P = 5: luck")
            << qint64(1292) << qint64(2500)
            << QStringList{
                   QStringLiteral("共回测1种分组，最好的z=1.68。纯随机时，1种中至少一种达到它的机会约为5%"),
                   QStringLiteral("最好的分组与运气无法区分")};
    }

    void verdict() {
        QFETCH(qint64, hits);
        QFETCH(qint64, spread);
        QFETCH(QStringList, summary);
        // Σk_t = T = s: one of the two labels marked in each of T draws.
        QCOMPARE(scanReport({score(2, DisplayMode::Sequential, 30, hits, spread, spread)}).summary, summary);
    }

    void bestOfManyPercent_data() {
        QTest::addColumn<double>("z");
        QTest::addColumn<int>("settings");
        QTest::addColumn<int>("percent");
        QTest::newRow("1.70 of 1") << 1.70 << 1 << 4;
        QTest::newRow("1.68 of 1") << 1.68 << 1 << 5;
        // p₁ = 0.02275: 1 − 0.97725^54 = 0.711.
        QTest::newRow("2 of 54") << 2.0 << 54 << 71;
        // p₁ = 3.2·10⁻⁵: 54 · p₁ = 0.17 %.
        QTest::newRow("4 of 54") << 4.0 << 54 << 0;
        QTest::newRow("−3 of 54") << -3.0 << 54 << 100;
    }

    void bestOfManyPercent() {
        QFETCH(double, z);
        QFETCH(int, settings);
        QFETCH(int, percent);
        QCOMPARE(dravik::bestOfManyPercent(z, settings), percent);
    }

    // Z in hundredths, halves up, from whole numbers: 201/√40000 = 1.005 is 100.4999… hundredths as a
    // double.
    void zHalvesUp() {
        // X = 2: d = 2h − Σk = 201, s = 40000.
        const ScanReport report = scanReport({score(2, DisplayMode::Sequential, 30, 101, 1, 40000)});
        QCOMPARE(report.best.value(0),
                 QStringLiteral("A=2，B=1，C=0，顺序，N=30：命中101个，期望0.5个， z=1.01"));
        const ScanReport below = scanReport({score(2, DisplayMode::Sequential, 30, 0, 201, 40000)});
        QCOMPARE(below.best.value(0),
                 QStringLiteral("A=2，B=1，C=0，顺序，N=30：命中0个，期望100.5个， z=-1.01"));
    }

    // A caller stops the scan between two settings; the steps are counted.
    void stop() {
        const QStringList lines = generatedDraws(200, 3, 1);
        QList<int> seen;
        const auto stopAtFive = [&](int done, int total) {
            seen.append(done);
            return total == 54 && done < 5;
        };
        QVERIFY(!scanGroupings(lines, 36, 1, 1, stopAtFive));
        QCOMPARE(seen, (QList<int>{1, 2, 3, 4, 5}));

        GroupingScan scan(lines, 36, 1, 1);
        for (int i = 0; i < 5; ++i)
            scan.runNext();
        QCOMPARE(scan.doneCount(), 5);
        QVERIFY(!scan.isDone());
        while (!scan.isDone())
            scan.runNext();
        scan.runNext();
        QCOMPARE(scan.doneCount(), 54);
    }
};

QTEST_GUILESS_MAIN(ChanceTest)
#include "tst_chance.moc"
