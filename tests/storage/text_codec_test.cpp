#include "gb18030/gb18030_fixture.h"
#include "storage/text_codec.h"

#include <QSet>
#include <QTest>
#include <optional>

using namespace dravik;
using namespace dravik::test;

namespace {

QString fromUcs4(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

} // namespace

// Character sets by name, and GB18030 above all: Linux converts it with ICU, Windows with a
// conversion of our own over the system's GBK; both must give the same characters as the standard
// and as each other, and read back byte for byte.
class TextCodecTest : public QObject {
    Q_OBJECT

private slots:
    void knownCharsets_data() {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<bool>("known");
        QTest::newRow("GB18030") << QByteArray("GB18030") << true;
        QTest::newRow("any letter case") << QByteArray("gb18030") << true;
        QTest::newRow("UTF-8") << QByteArray("utf-8") << true;
        QTest::newRow("UTF-16LE") << QByteArray("UTF-16LE") << true;
        QTest::newRow("Latin-1") << QByteArray("ISO-8859-1") << true;
        QTest::newRow("unknown") << QByteArray("x-no-such-set") << false;
    }

    void knownCharsets() {
        QFETCH(QByteArray, charset);
        QFETCH(bool, known);
        QCOMPARE(isKnownCharset(charset.constData()), known);
        if (!known) {
            QVERIFY(!decodeStrictly("abc", charset.constData()));
            QVERIFY(decodeLeniently("abc", charset.constData()).isEmpty());
        }
    }

    // Codes of each kind, those at the ends of their ranges among them, and the characters the
    // standard gives them.
    void gb18030Characters_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QByteArray("19001.05\r\n") << QStringLiteral("19001.05\r\n");
        QTest::newRow("two bytes") << QByteArray("\xC4\xCF\xD4\xC1") << QStringLiteral("南粤");
        QTest::newRow("first two-byte code") << QByteArray("\x81\x40") << fromUcs4(0x4E02);
        QTest::newRow("euro sign, private use in GBK") << QByteArray("\xA2\xE3") << fromUcs4(0x20AC);
        QTest::newRow("radical, private use in GBK") << QByteArray("\xFE\x50") << fromUcs4(0x2E81);
        QTest::newRow("first four-byte code") << QByteArray("\x81\x30\x81\x30") << fromUcs4(0x80);
        QTest::newRow("replacement character") << QByteArray("\x84\x31\xA4\x37") << fromUcs4(0xFFFD);
        QTest::newRow("last of the BMP") << QByteArray("\x84\x31\xA4\x39") << fromUcs4(0xFFFF);
        QTest::newRow("first supplementary") << QByteArray("\x90\x30\x81\x30") << fromUcs4(0x10000);
        QTest::newRow("last supplementary") << QByteArray("\xE3\x32\x9A\x35") << fromUcs4(0x10FFFF);
    }

    void gb18030Characters() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::optional<QString> strict = decodeStrictly(bytes, "GB18030");
        QVERIFY(strict);
        QCOMPARE(*strict, text);
        QCOMPARE(decodeLeniently(bytes, "GB18030"), text);
        QCOMPARE(encodeInCharset(text, "GB18030"), bytes);
    }

    // Every code reads as the character the Linux build reads from it, and every character writes as
    // the code the Linux build writes, so that a file written on one reads the same on the other.
    void gb18030AsOnLinux() {
        const std::optional<std::vector<Gb18030Code>> fixture = readGb18030Fixture();
        QVERIFY(fixture);
        const QStringList differences = gb18030Differences(
            *fixture, [](QByteArrayView bytes) { return decodeStrictly(bytes, "GB18030"); },
            [](QStringView text) { return encodeInCharset(text, "GB18030"); });
        QVERIFY2(differences.isEmpty(),
                 qPrintable(QStringLiteral("%1 differences: %2")
                                .arg(differences.size())
                                .arg(differences.mid(0, 20).join(QStringLiteral("; ")))));
    }

    // The codes whose characters differ between the editions of GB18030, as ICU on Linux has them:
    // A8BC and 8135F437 exchanged their characters in 2005; the 2022 edition's characters for the
    // other codes (vertical forms, CJK ideographs) keep four-byte codes of their own, and the codes
    // their private-use characters.
    void gb18030EditionCodes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("A8BC") << QByteArray("\xA8\xBC") << fromUcs4(0x1E3F);
        QTest::newRow("8135F437") << QByteArray("\x81\x35\xF4\x37") << fromUcs4(0xE7C7);
        const struct {
            const char* code;
            char32_t privateUse;
            char32_t ofTheCode2022;
            const char* codeOf2022;
        } codes[] = {
            {"A6D9", 0xE78D, 0xFE10, "84318236"}, {"A6DA", 0xE78E, 0xFE12, "84318238"},
            {"A6DB", 0xE78F, 0xFE11, "84318237"}, {"A6DC", 0xE790, 0xFE13, "84318239"},
            {"A6DD", 0xE791, 0xFE14, "84318330"}, {"A6DE", 0xE792, 0xFE15, "84318331"},
            {"A6DF", 0xE793, 0xFE16, "84318332"}, {"A6EC", 0xE794, 0xFE17, "84318333"},
            {"A6ED", 0xE795, 0xFE18, "84318334"}, {"A6F3", 0xE796, 0xFE19, "84318335"},
            {"FE59", 0xE81E, 0x9FB4, "82359037"}, {"FE61", 0xE826, 0x9FB5, "82359038"},
            {"FE66", 0xE82B, 0x9FB6, "82359039"}, {"FE67", 0xE82C, 0x9FB7, "82359130"},
            {"FE6D", 0xE832, 0x9FB8, "82359131"}, {"FE7E", 0xE843, 0x9FB9, "82359132"},
            {"FE90", 0xE854, 0x9FBA, "82359133"}, {"FEA0", 0xE864, 0x9FBB, "82359134"},
        };
        for (const auto& code : codes) {
            QTest::newRow(code.code) << QByteArray::fromHex(code.code) << fromUcs4(code.privateUse);
            QTest::addRow("U+%X", uint(code.ofTheCode2022))
                << QByteArray::fromHex(code.codeOf2022) << fromUcs4(code.ofTheCode2022);
        }
    }

    void gb18030EditionCodes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::optional<QString> read = decodeStrictly(bytes, "GB18030");
        QVERIFY(read);
        QCOMPARE(*read, text);
        QCOMPARE(encodeInCharset(text, "GB18030"), bytes);
    }

    // Invalid bytes: a strict reading finds nothing, a lenient one puts U+FFFD for each sequence and
    // reads a following ASCII byte again, as ICU does.
    void gb18030InvalidBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("lenient");
        QTest::newRow("80") << QByteArray("a\x80z") << QStringLiteral("a\uFFFDz");
        QTest::newRow("FF") << QByteArray("a\xFFz") << QStringLiteral("a\uFFFDz");
        QTest::newRow("lead byte before ASCII") << QByteArray("\x81\x7Fz") << QStringLiteral("\uFFFD\x7Fz");
        QTest::newRow("lead byte before FF") << QByteArray("\x81\xFFz") << QStringLiteral("\uFFFDz");
        QTest::newRow("four-byte code cut by a line end")
            << QByteArray("\x81\x30\x81\n") << QStringLiteral("\uFFFD0\uFFFD\n");
        QTest::newRow("four-byte code with a wrong third byte")
            << QByteArray("\x81\x30\x30z") << QStringLiteral("\uFFFD00z");
        QTest::newRow("past the BMP codes") << QByteArray("\x84\x31\xA5\x30z") << QStringLiteral("\uFFFDz");
        QTest::newRow("past U+10FFFF") << QByteArray("\xE3\x32\x9A\x36z") << QStringLiteral("\uFFFDz");
        QTest::newRow("cut short at the end") << QByteArray("1.0\x81\x30") << QStringLiteral("1.0");
    }

    void gb18030InvalidBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, lenient);
        QVERIFY(!decodeStrictly(bytes, "GB18030"));
        QCOMPARE(decodeLeniently(bytes, "GB18030"), lenient);
    }

    // Every character has a code and reads back from it: the one- and two-byte codes, the rest of
    // the BMP in four bytes each, and the supplementary planes.
    void gb18030EveryCharacter() {
        QString text;
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            if (!QChar::isSurrogate(c))
                text += QChar(char16_t(c));
        }
        for (const char32_t c : {0x10000, 0x1F3B1, 0x20000, 0x10FFFF})
            text += fromUcs4(c);
        const QByteArray bytes = encodeInCharset(text, "GB18030");
        QCOMPARE(bytes.size(), 128 + 23940 * 2 + 39420 * 4 + 4 * 4);
        const std::optional<QString> read = decodeStrictly(bytes, "GB18030");
        QVERIFY(read);
        QVERIFY(*read == text);
    }

    // Every two-byte code is a character of its own, and writes back as the same code.
    void gb18030EveryTwoByteCode() {
        QByteArray codes;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail != 0x7F)
                    codes.append(char(lead)).append(char(trail));
            }
        }
        const std::optional<QString> text = decodeStrictly(codes, "GB18030");
        QVERIFY(text);
        QCOMPARE(text->size(), codes.size() / 2);
        QCOMPARE(QSet<QChar>(text->begin(), text->end()).size(), text->size());
        QCOMPARE(encodeInCharset(*text, "GB18030"), codes);
    }

    void lenientMark() {
        const QByteArray bytes("\xEF\xBB\xBFz");
        QCOMPARE(decodeLeniently(bytes, "UTF-8"), QStringLiteral("\uFEFFz"));
        QCOMPARE(decodeLeniently(bytes, "UTF-8", InitialMark::Skip), QStringLiteral("z"));
    }

    void loneSurrogate() {
        QCOMPARE(encodeInCharset(QString(QChar(0xD800)) + "z", "GB18030"), QByteArray("\x1Az"));
    }
};

int runTextCodecTests(int argc, char** argv) {
    TextCodecTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "text_codec_test.moc"
