#include "storage/entered_numbers.h"

#include <QTest>

using namespace dravik;

class EnteredNumbersTest : public QObject {
    Q_OBJECT

private slots:
    void split_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("record"); // empty: refused

        QTest::newRow("blanks") << "01 05 12 18 22 31" << 6 << "01 05 12 18 22 31";
        QTest::newRow("runs of every separator") << " 01,,05，12\t18  ,22 31 " << 6 << "01 05 12 18 22 31";
        QTest::newRow("order as typed") << "31 01" << 2 << "31 01";
        QTest::newRow("05 and 5 differ") << "05 5" << 2 << "05 5";
        QTest::newRow("too few") << "01 05 12" << 6 << "";
        QTest::newRow("too many") << "01 05 12" << 2 << "";
        QTest::newRow("a number twice") << "01 05 05" << 3 << "";
        QTest::newRow("not digits") << "01 a5" << 2 << "";
        QTest::newRow("full-width digits") << "０１ 05" << 2 << "";
        QTest::newRow("sign") << "+1 05" << 2 << "";
        QTest::newRow("other separator") << "01;05" << 2 << "";
        QTest::newRow("empty") << "" << 2 << "";
        QTest::newRow("separators only") << " , " << 2 << "";
    }

    void split() {
        QFETCH(QString, typed);
        QFETCH(int, k);
        QFETCH(QString, record);
        const std::optional<QString> numbers = enteredDrawNumbers(typed, k);
        QCOMPARE(numbers.value_or(QString()), record);
        QCOMPARE(numbers.has_value(), !record.isEmpty());
    }

    void message() {
        QCOMPARE(enteredDrawNumbersMessage(6), QStringLiteral("号码应为6个不同的数字，用空格分开"));
    }
};

int runEnteredNumbersTests(int argc, char** argv) {
    EnteredNumbersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "entered_numbers_test.moc"
