#include "storage/error.h"
#include "storage/integer_text.h"

#include <QTest>
#include <limits>

using namespace dravik;

class IntegerTextTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        constexpr int kMin = std::numeric_limits<qint32>::min();
        constexpr int kMax = std::numeric_limits<qint32>::max();

        QTest::newRow("decimal") << "36" << true << 36;
        QTest::newRow("leading zeros") << "036" << true << 36;
        QTest::newRow("leading blanks") << "   12" << true << 12;
        QTest::newRow("trailing blank") << "12 " << false << 0;
        QTest::newRow("plus") << "+7" << true << 7;
        QTest::newRow("minus") << "-7" << true << -7;
        QTest::newRow("blank after sign") << "- 7" << false << 0;
        QTest::newRow("largest") << "2147483647" << true << kMax;
        QTest::newRow("one past largest") << "2147483648" << false << 0;
        QTest::newRow("smallest") << "-2147483648" << true << kMin;
        QTest::newRow("one below smallest") << "-2147483649" << false << 0;
        QTest::newRow("far too long") << "99999999999999999999" << false << 0;
        QTest::newRow("dollar hex") << "$1" << true << 1;
        QTest::newRow("x hex") << "x1F" << true << 31;
        QTest::newRow("X hex, lower digits") << "X1f" << true << 31;
        QTest::newRow("0x prefix") << "0x1" << true << 1;
        QTest::newRow("0X prefix") << "0X10" << true << 16;
        QTest::newRow("0x after blanks") << "  0x1A" << true << 26;
        QTest::newRow("hex after blanks") << " $A" << true << 10;
        QTest::newRow("negative hex") << "-$10" << true << -16;
        QTest::newRow("hex all ones is -1") << "$FFFFFFFF" << true << -1;
        QTest::newRow("hex top bit is negative") << "0x80000000" << true << kMin;
        QTest::newRow("hex largest positive") << "$7FFFFFFF" << true << kMax;
        QTest::newRow("nine hex digits") << "$100000000" << false << 0;
        QTest::newRow("0x alone") << "0x" << false << 0;
        QTest::newRow("dollar alone") << "$" << false << 0;
        QTest::newRow("sign after 0x") << "0x-1" << false << 0;
        QTest::newRow("bad hex digit") << "$1G" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("fraction") << "1.5" << false << 0;
        QTest::newRow("exponent") << "1e3" << false << 0;
        QTest::newRow("full-width digits") << QStringLiteral("１２") << false << 0;
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<qint32> parsed = parseInteger(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void conversionError_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("blank after") << "36 ";
    }

    void conversionError() {
        QFETCH(QString, text);
        try {
            toInteger(text);
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }

    void conversionOfValidText() { QCOMPARE(toInteger(QStringLiteral("0x24")), 36); }
};

int runIntegerTextTests(int argc, char** argv) {
    IntegerTextTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "integer_text_test.moc"
