#include "gb18030/gb18030_fixture.h"
#include "storage/error.h"
#include "storage/gb18030.h"

#include <QStringDecoder>
#include <QTest>
#include <optional>
#include <string>

using namespace dravik;
using namespace dravik::test;

namespace {

// GBK as ICU has Windows' code page 936, where Qt converts with ICU (Linux); nothing elsewhere.
std::optional<std::u16string> icuGbk() {
    QStringDecoder decoder("windows-936", QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder(gbkTwoByteCodes());
    if (decoder.hasError())
        return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
}

// A GBK of distinct characters (CJK ideographs and on), not the real one.
QString madeUpGbk() {
    QString text;
    const qsizetype codes = gbkTwoByteCodes().size() / 2;
    for (qsizetype i = 0; i < codes; ++i)
        text.append(QChar(char16_t(0x4E00 + i)));
    return text;
}

// The message of the Error a conversion raises; nothing when it raises none.
template <typename Conversion> std::optional<QString> errorOf(Conversion conversion) {
    try {
        conversion();
    } catch (const Error& error) {
        return error.message();
    }
    return std::nullopt;
}

} // namespace

// The program's own GB18030, which Windows converts with, checked where ICU is there to check it:
// built on ICU's copy of code page 936 it must read and write as ICU's GB18030 does. The Windows
// build checks the same converter over its system's code page in the codec test.
class Gb18030Test : public QObject {
    Q_OBJECT

private slots:
    void asOnLinux() {
        const std::optional<std::u16string> gbk = icuGbk();
        if (!gbk)
            QSKIP("Qt converts no code page 936 here");
        const Gb18030Charset charset(gbk);
        QVERIFY(charset.isValid());
        const std::optional<std::vector<Gb18030Code>> fixture = readGb18030Fixture();
        QVERIFY(fixture);
        const QStringList differences = gb18030Differences(
            *fixture, [&](QByteArrayView bytes) { return charset.decode(bytes, true); },
            [&](QStringView text) { return charset.encode(text); });
        QVERIFY2(differences.isEmpty(),
                 qPrintable(QStringLiteral("%1 differences: %2")
                                .arg(differences.size())
                                .arg(differences.mid(0, 20).join(QStringLiteral("; ")))));
    }

    // A system whose code page 936 is missing or does not give every two-byte code a character of its
    // own: GB18030 is then not converted at all, each conversion raising an Error that says why,
    // rather than read as nothing (an empty archive) or as other characters.
    void withoutCodePage936_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("gbk");
        QTest::addColumn<bool>("valid");
        const QString gbk = madeUpGbk();
        QTest::newRow("a code page") << true << gbk << true;
        QTest::newRow("none") << false << QString() << false;
        QTest::newRow("a code short") << true << gbk.chopped(1) << false;
        QTest::newRow("a character twice") << true << QString(gbk).replace(1, 1, gbk[0]) << false;
        QTest::newRow("ASCII") << true << QString(gbk).replace(1, 1, QLatin1Char('A')) << false;
        QTest::newRow("a surrogate") << true << QString(gbk).replace(1, 1, QChar(0xD800)) << false;
        QTest::newRow("U+1E3F, which A8BC gets")
            << true << QString(gbk).replace(1, 1, QChar(0x1E3F)) << false;
    }

    void withoutCodePage936() {
        QFETCH(bool, present);
        QFETCH(QString, gbk);
        QFETCH(bool, valid);
        const Gb18030Charset charset(present ? std::optional<std::u16string>(gbk.toStdU16String())
                                             : std::nullopt);
        QCOMPARE(charset.isValid(), valid);
        const QByteArray bytes("1.0\xC4\xCF");
        const std::optional<QString> strictError = errorOf([&] { charset.decode(bytes, true); });
        const std::optional<QString> lenientError = errorOf([&] { charset.decode(bytes, false); });
        const std::optional<QString> encodeError = errorOf([&] { charset.encode(u"1.0\u5357"); });
        if (valid) {
            QVERIFY(!strictError && !lenientError && !encodeError);
            QCOMPARE(charset.decode(bytes, true)->size(), 4);
            return;
        }
        for (const std::optional<QString>& error : {strictError, lenientError, encodeError}) {
            QVERIFY(error);
            QVERIFY2(error->contains(QStringLiteral("GB18030")) && error->contains(QStringLiteral("936")),
                     qPrintable(*error));
        }
    }

    // Invalid and cut-short sequences as ICU reads them, strictly and leniently: every sequence of up
    // to four bytes, each a byte from the edges of the byte ranges, alone and before an ASCII byte.
    void invalidBytesAsIcu() {
        const std::optional<std::u16string> gbk = icuGbk();
        if (!gbk || !QStringDecoder("GB18030").isValid())
            QSKIP("Qt converts no GB18030 here");
        const Gb18030Charset charset(gbk);
        const char bytes[] = {'\x00', '\x30', '\x39', '\x3A', '\x40', '\x7E', '\x7F', '\x80', '\x81',
                              '\x84', '\x85', '\x8F', '\x90', '\xA0', '\xE3', '\xE4', '\xFE', '\xFF'};
        const qsizetype kinds = qsizetype(sizeof bytes);
        QStringList differences;
        for (qsizetype length = 1, sequences = kinds; length <= 4; ++length, sequences *= kinds) {
            for (qsizetype i = 0; i < sequences; ++i) {
                QByteArray sequence;
                for (qsizetype rest = i, n = 0; n < length; ++n, rest /= kinds)
                    sequence.append(bytes[rest % kinds]);
                for (const QByteArray& input : {sequence, sequence + 'z'}) {
                    QStringDecoder strict("GB18030", QStringConverter::Flag::Stateless);
                    const QString strictText = strict(input);
                    const std::optional<QString> expectedStrict =
                        strict.hasError() ? std::nullopt : std::optional<QString>(strictText);
                    QStringDecoder lenient("GB18030");
                    const QString expectedLenient = lenient(input);
                    if (charset.decode(input, true) != expectedStrict ||
                        charset.decode(input, false) != expectedLenient)
                        differences.append(QString::fromLatin1(input.toHex(' ').toUpper()));
                }
            }
        }
        QVERIFY2(differences.isEmpty(),
                 qPrintable(QStringLiteral("%1 differ: %2")
                                .arg(differences.size())
                                .arg(differences.mid(0, 20).join(QStringLiteral("; ")))));
    }
};

int runGb18030Tests(int argc, char** argv) {
    Gb18030Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "gb18030_test.moc"
