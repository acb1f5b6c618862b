#include "data_home.h"
#include "download/page_scan.h"
#include "storage/record_order.h"

#include <QRandomGenerator>
#include <QTest>

using namespace dravik;

namespace {

struct ScanOutcome {
    QStringList records;
    int pumps = 0;
};

// The scan exactly as the history pages are meant to be read, step by step, with positions counted
// from 1, the consumed text removed, and a search of the whole list for repeats.
ScanOutcome referenceScan(const QStringList& pages) {
    const QString periodMarker = QStringLiteral("\">20");
    const QString numberMarker = QStringLiteral("No=\"");
    ScanOutcome outcome;
    for (QString text : pages) {
        if (text.isEmpty())
            continue;
        while (text.contains(periodMarker)) {
            const qsizetype p = text.indexOf(periodMarker) + 1;
            const qsizetype q = text.indexOf(numberMarker) + 1;
            if (q == 0)
                break;
            const QString record = text.mid(p + 4 - 1, 5) + QLatin1Char('.') + text.mid(q + 4 - 1, 2);
            text.remove(0, q + 4);
            bool held = false;
            for (const QString& line : std::as_const(outcome.records))
                held = held || sameRecord(line, record);
            if (!held)
                outcome.records.append(record);
            ++outcome.pumps;
        }
    }
    return outcome;
}

ScanOutcome scan(const QStringList& pages) {
    ScanOutcome outcome;
    DrawList found;
    for (const QString& page : pages)
        scanPage(page, found, [&] { ++outcome.pumps; });
    outcome.records = found.records();
    return outcome;
}

// Pieces that generated pages are made of: markers, near misses of them, and characters that make
// differently written records equal by the record comparison in some locales (letter case, full-width
// and Arabic-Indic digits, an ignorable control character).
const QStringList kPieces = {
    QStringLiteral("\">20"), QStringLiteral("\">20"),    QStringLiteral("No=\""), QStringLiteral("No=\""),
    QStringLiteral("\">2"),  QStringLiteral("\"> 20"),   QStringLiteral("'>20"),  QStringLiteral("no=\""),
    QStringLiteral("No="),   QStringLiteral("No=\">20"), QStringLiteral("\""),    QStringLiteral(">"),
    QStringLiteral("N"),     QStringLiteral("<td>"),     QStringLiteral("</td>"), QStringLiteral("1"),
    QStringLiteral("0"),     QStringLiteral("2"),        QStringLiteral("17001"), QStringLiteral("05"),
    QStringLiteral("a"),     QStringLiteral("A"),        QStringLiteral("."),     QString::fromUtf8("１"),
    QString::fromUtf8("١"),  QString(QChar(1)),          QString::fromUtf8("期"),
};

QString generatedPage(QRandomGenerator& random) {
    QString page;
    const int pieces = random.bounded(60);
    for (int i = 0; i < pieces; ++i)
        page += kPieces[random.bounded(kPieces.size())];
    // Cut anywhere, so that fields and markers end up cut short at the end.
    return page.left(random.bounded(page.size() + 1));
}

// Draw-shaped pages over a tiny alphabet, so that the same record comes again, now and then written
// with other characters that the record comparison may take as equal.
QString variantField(QRandomGenerator& random, int length) {
    static const QStringList kUsual = {QStringLiteral("0"), QStringLiteral("1")};
    static const QStringList kVariants = {QString::fromUtf8("１"), QString::fromUtf8("١"),
                                          QStringLiteral("A"), QStringLiteral("a"), QString(QChar(1))};
    QString field;
    for (int i = 0; i < length; ++i)
        field += random.bounded(10) < 8 ? kUsual[random.bounded(kUsual.size())]
                                        : kVariants[random.bounded(kVariants.size())];
    return field;
}

QString generatedDrawPage(QRandomGenerator& random) {
    QString page;
    const int draws = random.bounded(30);
    for (int i = 0; i < draws; ++i) {
        page += QStringLiteral("<td class=\"qh\">20") + variantField(random, 5) +
                QStringLiteral("</td><td No=\"") + variantField(random, 2) + QStringLiteral("\">");
        if (random.bounded(8) == 0)
            page += kPieces[random.bounded(kPieces.size())];
    }
    return page;
}

QString draw(const QString& period, const QString& number) {
    return QStringLiteral(
               "<tr><td class=\"qh\">20%1</td><td>2017-01-01</td><td No=\"%2\"><em>%2</em></td></tr>")
        .arg(period, number);
}

} // namespace

class PageScanTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    void scan_data() {
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("pumps");

        QTest::newRow("period then number")
            << QStringList{draw("17001", "05")} << QStringList{"17001.05"} << 1;
        QTest::newRow("draws in page order") << QStringList{draw("17002", "36") + draw("17001", "05")}
                                             << QStringList{"17002.36", "17001.05"} << 2;
        QTest::newRow("repeat on one page")
            << QStringList{draw("17001", "05") + draw("17002", "11") + draw("17001", "05")}
            << QStringList{"17001.05", "17002.11"} << 3;
        QTest::newRow("repeat across pages")
            << QStringList{draw("17001", "05"), draw("17001", "05")} << QStringList{"17001.05"} << 2;
        QTest::newRow("repeat in other letter case")
            << QStringList{draw("1700A", "xY"), draw("1700a", "Xy")} << QStringList{"1700A.xY"} << 2;
        QTest::newRow("empty page") << QStringList{QString()} << QStringList{} << 0;
        QTest::newRow("no markers") << QStringList{"<html><body>暂无数据</body></html>"} << QStringList{}
                                    << 0;
        QTest::newRow("near misses only")
            << QStringList{"'>2017001 \"> 2017001 \">2 017001 no=\"05 No =\"05"} << QStringList{} << 0;
        QTest::newRow("period marker without number marker")
            << QStringList{"<td class=\"qh\">2017001</td>"} << QStringList{} << 0;
        QTest::newRow("last period marker without number marker")
            << QStringList{draw("17001", "05") + "<td class=\"qh\">2017002</td>"} << QStringList{"17001.05"}
            << 1;
        QTest::newRow("period cut short") << QStringList{"No=\"07\">2017"} << QStringList{"17.07"} << 1;
        QTest::newRow("number cut short") << QStringList{"\">2017001 No=\"5"} << QStringList{"17001.5"} << 1;
        QTest::newRow("number marker at the end")
            << QStringList{"\">2017001 No=\""} << QStringList{"17001."} << 1;
        QTest::newRow("period marker at the end") << QStringList{"No=\"05 \">20"} << QStringList{".05"} << 1;
        // The number marker comes first: it pairs with the later period marker, and only the text up
        // to the number's first character is consumed, so that period marker pairs again.
        QTest::newRow("number marker before period marker")
            << QStringList{"No=\"09\" x \">2017003 No=\"04\""} << QStringList{"17003.09", "17003.04"} << 2;
        QTest::newRow("overlapping markers") << QStringList{"No=\">2017001"} << QStringList{"17001.>2"} << 1;
        QTest::newRow("number followed by a period marker")
            << QStringList{"\">2017001 No=\"20\">2017002 No=\"03\""} << QStringList{"17001.20", "17002.03"}
            << 2;
    }

    void scan() {
        QFETCH(QStringList, pages);
        QFETCH(QStringList, records);
        QFETCH(int, pumps);

        const ScanOutcome outcome = ::scan(pages);
        QCOMPARE(outcome.records, records);
        QCOMPARE(outcome.pumps, pumps);
        const ScanOutcome reference = referenceScan(pages);
        QCOMPARE(reference.records, records);
        QCOMPARE(reference.pumps, pumps);
    }

    void scanEqualsReferenceOnGeneratedPages() {
        QRandomGenerator random(20240501);
        for (int run = 0; run < 4000; ++run) {
            QStringList pages;
            const int pageCount = 1 + random.bounded(4);
            for (int i = 0; i < pageCount; ++i)
                pages.append(generatedPage(random));
            const ScanOutcome outcome = ::scan(pages);
            const ScanOutcome reference = referenceScan(pages);
            if (outcome.records != reference.records || outcome.pumps != reference.pumps)
                QFAIL(qPrintable(
                    QStringLiteral("run %1 differs on pages: %2").arg(run).arg(pages.join(" | "))));
        }
    }

    void drawPagesEqualReference() {
        QRandomGenerator random(17001);
        for (int run = 0; run < 1000; ++run) {
            QStringList pages;
            const int pageCount = 1 + random.bounded(4);
            for (int i = 0; i < pageCount; ++i)
                pages.append(generatedDrawPage(random));
            const ScanOutcome outcome = ::scan(pages);
            const ScanOutcome reference = referenceScan(pages);
            if (outcome.records != reference.records || outcome.pumps != reference.pumps)
                QFAIL(qPrintable(
                    QStringLiteral("run %1 differs on pages: %2").arg(run).arg(pages.join(" | "))));
        }
    }

    // Plain records first, then one that is not plain, then plain ones again: the repeat check must
    // hold across the switch to the ordered set.
    void drawListAcrossRecordKinds() {
        DrawList list;
        const QStringList added = {"17001.05", "17001.05", "1700A.05", "17002.05",
                                   "1700a.05", "17001.05", "17003.05"};
        for (const QString& record : added)
            list.add(record);
        QCOMPARE(list.records(), (QStringList{"17001.05", "1700A.05", "17002.05", "17003.05"}));
    }

private:
    test::TempDataHome home_;
};

QTEST_GUILESS_MAIN(PageScanTest)
#include "page_scan_test.moc"
