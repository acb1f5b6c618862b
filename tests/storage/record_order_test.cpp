#include "storage/record_order.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

using namespace dravik;

class RecordOrderTest : public QObject {
    Q_OBJECT

private slots:
    void sort_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("periods of different length")
            << QStringList{"9.01", "10.01", "10.1"} << QStringList{"10.01", "10.1", "9.01"};
        QTest::newRow("periods of equal length") << QStringList{"19003.05", "19001.12", "19002.36"}
                                                 << QStringList{"19001.12", "19002.36", "19003.05"};
        QTest::newRow("a beginning comes first")
            << QStringList{"19001.05", "19001", "19001.0"} << QStringList{"19001", "19001.0", "19001.05"};
        QTest::newRow("full stop before digits")
            << QStringList{"10", "1.9", "1"} << QStringList{"1", "1.9", "10"};
        QTest::newRow("empty list") << QStringList{} << QStringList{};
    }

    void sort() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, sorted);
        sortRecords(lines);
        QCOMPARE(lines, sorted);
    }

    // Lines of digits and "." are sorted without the collation: the order must be the collation's.
    // Short lines of few characters meet every case of one line beginning another.
    void plainLinesInCollationOrder() {
        QRandomGenerator random(20240101);
        QStringList lines;
        for (int i = 0; i < 3000; ++i) {
            QString line;
            for (int n = int(random.bounded(6)); n > 0; --n)
                line += QLatin1Char(".0123456789"[random.bounded(11)]);
            lines.append(line);
        }
        QStringList collated = lines;
        std::sort(collated.begin(), collated.end(),
                  [](const QString& a, const QString& b) { return compareRecords(a, b) < 0; });
        sortRecords(lines);
        QCOMPARE(lines, collated);
    }

    void mergeInOrder_data() {
        QTest::addColumn<QStringList>("a");
        QTest::addColumn<QStringList>("b");
        QTest::addColumn<QStringList>("merged");
        QTest::newRow("sorted lists")
            << QStringList{"10.01", "9.01"} << QStringList{"10.1"} << QStringList{"10.01", "10.1", "9.01"};
        QTest::newRow("newest first and unsorted")
            << QStringList{"3.1", "2.1", "1.1"} << QStringList{"5", "4", "6"}
            << QStringList{"1.1", "2.1", "3.1", "4", "5", "6"};
        QTest::newRow("equal lines both kept")
            << QStringList{"1.1", "2.2"} << QStringList{"1.1"} << QStringList{"1.1", "1.1", "2.2"};
        QTest::newRow("letters by the collation")
            << QStringList{"b.1", "1.1"} << QStringList{"A.1"} << QStringList{"1.1", "A.1", "b.1"};
        QTest::newRow("empty") << QStringList{} << QStringList{} << QStringList{};
    }

    void mergeInOrder() {
        QFETCH(QStringList, a);
        QFETCH(QStringList, b);
        QFETCH(QStringList, merged);
        QCOMPARE(mergeInRecordOrder(a, b), merged);
    }

    void compare_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("letter case ignored") << "abc.x"
                                             << "ABC.X" << 0;
        QTest::newRow("same text") << "19001.05"
                                   << "19001.05" << 0;
        QTest::newRow("longer period first") << "10.01"
                                             << "9.01" << -1;
        QTest::newRow("full stop before digit") << "10.01"
                                                << "10.1" << -1;
        QTest::newRow("later letter") << "b"
                                      << "a" << 1;
    }

    void compare() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int result = compareRecords(a, b);
        QCOMPARE((result > 0) - (result < 0), sign);
        QCOMPARE(sameRecord(a, b), sign == 0);
    }

    void split_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("number");
        QTest::newRow("period and number") << "19001.05"
                                           << "19001"
                                           << "05";
        QTest::newRow("no full stop") << "123"
                                      << ""
                                      << "123";
        QTest::newRow("split at the first") << "2019.001.05"
                                            << "2019"
                                            << "001.05";
        QTest::newRow("empty period") << ".5"
                                      << ""
                                      << "5";
        QTest::newRow("empty number") << "7."
                                      << "7"
                                      << "";
        QTest::newRow("blanks kept") << " 1 . 2"
                                     << " 1 "
                                     << " 2";
        QTest::newRow("empty line") << ""
                                    << ""
                                    << "";
    }

    void split() {
        QFETCH(QString, line);
        QFETCH(QString, period);
        QFETCH(QString, number);
        QCOMPARE(periodOf(line), period);
        QCOMPARE(drawNumberOf(line), number);
    }
};

int runRecordOrderTests(int argc, char** argv) {
    RecordOrderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "record_order_test.moc"
