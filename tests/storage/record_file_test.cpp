#include "file_size_limit.h"
#include "open_file_limit.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "test_support.h"

#include <QScopeGuard>
#include <QTest>
#include <optional>

using namespace dravik;
using namespace dravik::test;

namespace {

const QString kNoMapping =
    QStringLiteral("No mapping for the Unicode character exists in the target multi-byte code page");

} // namespace

class RecordFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        home_ = std::make_unique<TempDataHome>();
        QVERIFY(home_->isValid());
    }
    void cleanup() { home_.reset(); }

    void splitting_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("no line end") << "a" << QStringList{"a"};
        QTest::newRow("final CR LF starts no line") << "a\r\n" << QStringList{"a"};
        QTest::newRow("missing last line end") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("lone CR and LF") << "a\rb\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("single CR LF is one empty line") << "\r\n" << QStringList{""};
        QTest::newRow("empty line inside") << "a\r\n\r\nb\r\n" << QStringList{"a", "", "b"};
        QTest::newRow("LF then CR is two ends") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("CR then CR LF") << "a\r\r\n" << QStringList{"a", ""};
        QTest::newRow("NUL ends the text") << QString::fromUtf8("ab\0cd\r\nef", 9) << QStringList{"ab"};
        QTest::newRow("NUL first") << QString(QChar(u'\0')) + "x" << QStringList{};
    }

    void splitting() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(splitLines(text), lines);
    }

    // Each file as the program writes it: decoding gives the lines and encoding, and encoding them
    // again gives the same bytes.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QStringList>("lines");
        const QStringList chinese{QStringLiteral("南粤.01"), QStringLiteral("19001.36")};
        const QString chineseText = QStringLiteral("南粤.01\r\n19001.36\r\n");

        QTest::newRow("empty file") << QByteArray() << TextEncoding::Utf8 << QStringList{};
        QTest::newRow("UTF-8 without mark") << chineseText.toUtf8() << TextEncoding::Utf8 << chinese;
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF") + chineseText.toUtf8()
                                    << TextEncoding::Utf8Bom << chinese;
        QTest::newRow("UTF-8 mark only")
            << QByteArray("\xEF\xBB\xBF") << TextEncoding::Utf8Bom << QStringList{};
        QTest::newRow("UTF-16 LE") << utf16le(chineseText) << TextEncoding::Utf16Le << chinese;
        QTest::newRow("UTF-16 BE") << utf16be(chineseText) << TextEncoding::Utf16Be << chinese;
        QTest::newRow("GB18030") << gb18030(chineseText) << TextEncoding::Gb18030 << chinese;
        QTest::newRow("GB18030 four-byte")
            << QByteArray("\x81\x30\x81\x30\xC4\xCF\r\n") << TextEncoding::Gb18030
            << QStringList{QString(QChar(0x80)) + QStringLiteral("南")};
        QTest::newRow("ASCII digits") << QByteArray("19001.05\r\n19002.36\r\n") << TextEncoding::Utf8
                                      << QStringList{"19001.05", "19002.36"};
    }

    void roundTrip() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        QFETCH(QStringList, lines);
        const RecordLines decoded = decodeRecordBytes(bytes);
        QCOMPARE(decoded.lines, lines);
        QCOMPARE(decoded.encoding, encoding);
        QCOMPARE(encodeRecordLines(decoded.lines, decoded.encoding), bytes);

        const QString path = home_->path() + "/round.dat";
        QVERIFY(writeBytes(path, bytes));
        const std::optional<RecordLines> read = readRecordFile(path);
        QVERIFY(read);
        QCOMPARE(read->lines, lines);
        writeRecordFile(path + ".copy", read->lines, read->encoding);
        QCOMPARE(readBytes(path + ".copy"), bytes);
    }

    void lineEndsOnWriting() {
        const QString path = home_->path() + "/ends.dat";
        QVERIFY(writeBytes(path, "1.01\n2.02\r3.03"));
        const std::optional<RecordLines> read = readRecordFile(path);
        QVERIFY(read);
        writeRecordFile(path, read->lines, read->encoding);
        QCOMPARE(readBytes(path), QByteArray("1.01\r\n2.02\r\n3.03\r\n"));
    }

    void invalidUtf8AfterMark_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("GB18030 bytes") << QByteArray("\xEF\xBB\xBF\xC4\xCF\r\n");
        QTest::newRow("cut sequence at the end") << QByteArray("\xEF\xBB\xBF"
                                                               "1.0\xE5");
        QTest::newRow("lone continuation byte") << QByteArray("\xEF\xBB\xBF\x80");
    }

    void invalidUtf8AfterMark() {
        QFETCH(QByteArray, bytes);
        const QString path = home_->path() + "/bad.dat";
        QVERIFY(writeBytes(path, bytes));
        try {
            readRecordFile(path);
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), kNoMapping);
        }
    }

    // Without a mark the bytes before the first NUL decide: what follows the NUL is never read.
    void encodingWithoutMark_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("invalid UTF-8")
            << QByteArray("\xC4\xCF.01") << TextEncoding::Gb18030 << QStringList{"南.01"};
        QTest::newRow("UTF-8, stray byte after NUL")
            << QByteArray("\xE5\x8D\x97.01\r\n\0\xFF", 10) << TextEncoding::Utf8 << QStringList{"南.01"};
        QTest::newRow("GB18030 sequence cut at the end") << QByteArray("1.0\x81\x30") << TextEncoding::Gb18030
                                                         << QStringList{QStringLiteral("1.0\uFFFD0")};
        QTest::newRow("GB18030 before NUL")
            << QByteArray("\xC4\xCF.01\r\n\0abc", 10) << TextEncoding::Gb18030 << QStringList{"南.01"};
    }

    void encodingWithoutMark() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        QFETCH(QStringList, lines);
        const RecordLines decoded = decodeRecordBytes(bytes);
        QCOMPARE(decoded.encoding, encoding);
        QCOMPARE(decoded.lines, lines);
        QCOMPARE(decodeRecordBytes(encodeRecordLines(decoded.lines, decoded.encoding)).encoding, encoding);
    }

    // Deleting the one line that made a GB18030 file invalid UTF-8 must not let the rest read as
    // other characters: bytes that would read as UTF-8 are written as UTF-8.
    void gb18030ThatWouldReadAsUtf8() {
        const RecordLines read = decodeRecordBytes(QByteArray("1.\xC2\xA0\r\n2.\xFF\r\n"));
        QCOMPARE(read.encoding, TextEncoding::Gb18030);
        const QStringList kept = read.lines.mid(0, 1);
        QCOMPARE(kept.first(), decodeStrictly(QByteArray("1.\xC2\xA0"), "GB18030").value_or(QString()));
        const QByteArray written = encodeRecordLines(kept, read.encoding);
        QCOMPARE(written, (kept.first() + "\r\n").toUtf8());
        QCOMPARE(decodeRecordBytes(written).lines, kept);
        QCOMPARE(encodeRecordLines({"1.01"}, TextEncoding::Gb18030), QByteArray("1.01\r\n"));
    }

    // The tail of a file must be exactly the last lines of the file read whole, whatever its
    // encoding and line ends, and count the same lines.
    void tailEqualsWholeRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString mixed = QStringLiteral("1.01\r\n2.南\r3.03\n\n4.04\r\n\r\n5.05");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("single CR LF") << QByteArray("\r\n");
        QTest::newRow("mixed line ends UTF-8") << mixed.toUtf8();
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + mixed.toUtf8();
        QTest::newRow("GB18030") << gb18030(mixed + QStringLiteral("\r\n6.粤\r\n"));
        QTest::newRow("UTF-16 LE") << utf16le(mixed);
        QTest::newRow("UTF-16 BE") << utf16be(mixed);
        QTest::newRow("NUL ends the text") << QByteArray("1.01\r\n2.02\0\r\n3.03\r\n", 19);
        QTest::newRow("UTF-8, stray byte after NUL") << QByteArray("1.\xE5\x8D\x97\r\n2.02\0\xFF", 14);
        QTest::newRow("GB18030 sequence cut at the end") << QByteArray("1.01\r\n2.0\x81\x30");
        QTest::newRow("CR before CR LF") << QByteArray("1\r\r\n2\r\r");
        QByteArray longFile;
        for (int i = 0; i < 250; ++i)
            longFile += QByteArray::number(24000 + i) + (i % 7 ? "\r\n" : "\n");
        QTest::newRow("250 lines") << longFile;
    }

    void tailEqualsWholeRead() {
        QFETCH(QByteArray, bytes);
        const QString path = home_->path() + "/tail.dat";
        QVERIFY(writeBytes(path, bytes));
        const QStringList whole = readRecordFile(path)->lines;
        for (const qsizetype keep : {0, 1, 2, 3, 30, 100, 1000}) {
            const std::optional<RecordTail> tail = readRecordTail(path, keep);
            QVERIFY(tail);
            QCOMPARE(tail->lineCount, whole.size());
            QCOMPARE(tail->lines, whole.mid(std::max<qsizetype>(whole.size() - keep, 0)));
        }
    }

    void tailOfMissingOrBrokenFile() {
        QVERIFY(!readRecordTail(home_->path() + "/none.dat", 30));
        const QString path = home_->path() + "/bad.dat";
        QVERIFY(writeBytes(path, QByteArray("\xEF\xBB\xBF"
                                            "1.0\xE5\r\n")));
        QVERIFY_THROWS_EXCEPTION(Error, readRecordTail(path, 30));
    }

    void missingFileReadsAsNothing() { QVERIFY(!readRecordFile(home_->path() + "/none.dat")); }

    void openErrorText() {
        if (!OpenFileLimit::kAvailable)
            QSKIP("no open-file limit here");
        const QString path = home_->path() + "/x.dat";
        QVERIFY(writeBytes(path, "1.01\r\n"));
        const OpenFileLimit noOpen;
        QVERIFY(noOpen.isActive());
        try {
            readRecordFile(path);
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("Cannot open file \"%1\". Too many open files").arg(path));
        }
    }

    // A full disk cuts a write short: small files are held in a buffer until they are closed, large
    // ones are written at once, and both must fail rather than leave a truncated file in place.
    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("lines");
        QTest::newRow("read-only file") << "file" << 1;
        QTest::newRow("read-only folder") << "folder" << 1;
        if (FileSizeLimit::kAvailable) {
            QTest::newRow("full disk, small file") << "full" << 10;
            QTest::newRow("full disk, large file") << "full" << 5000;
        }
    }

    void failedWriteKeepsOldFile() {
        QFETCH(QString, failure);
        QFETCH(int, lines);
        const QString folder = home_->path() + "/locked";
        const QString path = folder + "/a.dat";
        const QByteArray old("\xEF\xBB\xBF"
                             "19001.05\r\n");
        QVERIFY(writeBytes(path, old));
        const auto restore = qScopeGuard([&] {
            QFile::setPermissions(folder, kWritableFolder);
            QFile::setPermissions(path, kWritableFile);
        });
        if (failure == "file")
            QVERIFY(QFile::setPermissions(path, kReadOnlyFile));
        if (failure == "folder") {
            QVERIFY(QFile::setPermissions(folder, kReadOnlyFolder));
            if (!isReadOnlyFolder(folder))
                QSKIP("a folder cannot be made read-only here");
        }
        QStringList written;
        for (int i = 0; i < lines; ++i)
            written.append(QStringLiteral("%1.06").arg(19002 + i));
        try {
            std::optional<FileSizeLimit> full;
            if (failure == "full") {
                full.emplace(old.size() + 20);
                QVERIFY(full->isActive());
            }
            writeRecordFile(path, written, TextEncoding::Utf8);
            QFAIL("no error raised");
        } catch (const Error& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)),
                     qPrintable(error.message()));
            if (failure == "full")
                QVERIFY2(error.message().endsWith(QStringLiteral(". File too large")),
                         qPrintable(error.message()));
        }
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"a.dat"});
    }

    void writeIntoMissingFolderFails() {
        const QString path = home_->path() + "/absent/a.dat";
        QVERIFY_THROWS_EXCEPTION(Error, writeRecordFile(path, {"1.01"}, TextEncoding::Utf8));
        QVERIFY(!QFile::exists(path));
    }

private:
    std::unique_ptr<TempDataHome> home_;
};

int runRecordFileTests(int argc, char** argv) {
    RecordFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "record_file_test.moc"
