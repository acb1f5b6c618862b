#include "storage/entered_numbers.h"
#include "test_support.h"

#include <QTest>

using namespace dravik;
using namespace dravik::test;

class EnteredNumbersTest : public QObject {
    Q_OBJECT

private slots:
    // A draw typed for an archive of 33 numbers counted from one (双色球's red balls) or of 28 from
    // zero; the record's number text, or the message that refuses it.
    void enteredDraw_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("message");
        const QString notSix = QStringLiteral("号码应为6个不同的数字，用空格分开");
        const QString notTwo = QStringLiteral("号码应为2个不同的数字，用空格分开");
        const QString range = QStringLiteral("号码应在01～33之间");

        QTest::newRow("blanks") << "01 05 12 18 22 31" << 1 << 6 << "01 05 12 18 22 31"
                                << "";
        QTest::newRow("runs of every separator")
            << " 01,,05，12\t18  ,22 31 " << 1 << 6 << "01 05 12 18 22 31"
            << "";
        QTest::newRow("order as typed") << "31 01" << 1 << 2 << "31 01"
                                        << "";
        QTest::newRow("written as labels") << "1 2 3 4 5 6" << 1 << 6 << "01 02 03 04 05 06"
                                           << "";
        QTest::newRow("leading zeros dropped") << "001 033" << 1 << 2 << "01 33"
                                               << "";
        QTest::newRow("from zero") << "007 0" << 0 << 2 << "7 0"
                                   << "";
        QTest::newRow("05 and 5 are one number") << "05 5" << 1 << 2 << "" << notTwo;
        QTest::newRow("too few") << "01 05 12" << 1 << 6 << "" << notSix;
        QTest::newRow("too many") << "01 05 12" << 1 << 2 << "" << notTwo;
        QTest::newRow("a number twice") << "01 05 05 06 07 08" << 1 << 6 << "" << notSix;
        QTest::newRow("not digits") << "01 a5" << 1 << 2 << "" << notTwo;
        QTest::newRow("full-width digits") << "０１ 05" << 1 << 2 << "" << notTwo;
        QTest::newRow("sign") << "+1 05" << 1 << 2 << "" << notTwo;
        QTest::newRow("other separator") << "01;05" << 1 << 2 << "" << notTwo;
        QTest::newRow("empty") << "" << 1 << 2 << "" << notTwo;
        QTest::newRow("separators only") << " , " << 1 << 2 << "" << notTwo;
        QTest::newRow("above the last") << "01 02 03 04 05 34" << 1 << 6 << "" << range;
        QTest::newRow("far above") << "01 02 03 04 05 99999999999999999999999" << 1 << 6 << "" << range;
        QTest::newRow("below the first") << "00 02 03 04 05 06" << 1 << 6 << "" << range;
        QTest::newRow("the last from zero") << "27 28" << 0 << 2 << "" << QStringLiteral("号码应在0～27之间");
    }

    void enteredDraw() {
        QFETCH(QString, typed);
        QFETCH(int, start);
        QFETCH(int, k);
        QFETCH(QString, record);
        QFETCH(QString, message);
        const EnteredDraw draw = dravik::enteredDraw(typed, archiveNumbers(start == 1 ? 33 : 28, start, k));
        QCOMPARE(draw.number, record);
        QCOMPARE(draw.message, message);
    }
};

int runEnteredNumbersTests(int argc, char** argv) {
    EnteredNumbersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "entered_numbers_test.moc"
