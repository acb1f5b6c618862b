#include "data_folder_case.h"
#include "open_file_limit.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_list.h"
#include "test_support.h"

#include <QScopeGuard>
#include <QTest>

using namespace dravik;
using namespace dravik::test;

namespace {

QByteArray crlfFile(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

} // namespace

class RecordListTest : public DataFolderCase {
    Q_OBJECT

private slots:
    void emptyBeforeFirstLoad() {
        const RecordList list;
        QVERIFY(list.lines().isEmpty());
        QVERIFY(list.file().isEmpty());
        QCOMPARE(list.encoding(), TextEncoding::Utf8);
    }

    void window_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("empty file") << 0;
        QTest::newRow("one line") << 1;
        QTest::newRow("exactly the window") << 100;
        QTest::newRow("one more than the window") << 101;
        QTest::newRow("150 lines") << 150;
    }

    // The window is the last 100 lines in file order; saving it unchanged rewrites the file as it was.
    void window() {
        QFETCH(int, count);
        const QByteArray bytes = crlfFile(draws(1, count));
        QVERIFY(writeBytes(recordFilePath("3D"), bytes));
        RecordList list;
        QVERIFY(list.load("3D"));
        QCOMPARE(list.file(), recordFilePath("3D"));
        QCOMPARE(list.lines(), draws(qMax(1, count - 99), count));
        list.save();
        QCOMPARE(readBytes(recordFilePath("3D")), bytes);
    }

    void savesKeepLinesBeforeTheWindow_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("window");
        const QStringList window = draws(51, 150);
        QTest::newRow("add") << "add" << window + QStringList{"19151.01"};
        QTest::newRow("replace") << "replace" << QStringList{"19051.36"} + window.mid(1);
        QTest::newRow("remove") << "remove" << window.mid(1);
        QTest::newRow("rewrite from the table") << "table" << QStringList{"19200.01", "19201.02"};
    }

    void savesKeepLinesBeforeTheWindow() {
        QFETCH(QString, edit);
        QFETCH(QStringList, window);
        const QStringList all = draws(1, 150);
        QVERIFY(writeBytes(recordFilePath("3D"), crlfFile(all)));
        RecordList list;
        QVERIFY(list.load("3D"));
        if (edit == "add") {
            list.addRecord("19151.01");
            list.sortRecords();
        } else if (edit == "replace") {
            const std::optional<int> at = list.findPeriod("19051");
            QCOMPARE(at, std::optional<int>(0));
            list.replaceRecord(*at, "19051.36");
            list.sortRecords();
        } else if (edit == "remove") {
            QCOMPARE(list.removePeriod("19051"), 1);
        } else {
            list.clear();
            list.append("19201.02");
            list.append("19200.01");
            list.sortRecords();
        }
        list.save();
        QCOMPARE(readBytes(recordFilePath("3D")), crlfFile(all.mid(0, 50) + window));
        // The next load shows the latest 100 lines of the longer history.
        QVERIFY(list.load("3D"));
        QCOMPARE(list.lines(), (all.mid(0, 50) + window).mid(qMax<qsizetype>(0, 50 + window.size() - 100)));
    }

    void encodingKeptAcrossLoads_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QByteArray>("newFile");
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF"
                                                  "1.01\r\n")
                                    << TextEncoding::Utf8Bom
                                    << QByteArray("\xEF\xBB\xBF"
                                                  "9.09\r\n");
        QTest::newRow("GB18030") << gb18030(QStringLiteral("甲.01\r\n")) << TextEncoding::Gb18030
                                 << gb18030(QStringLiteral("9.09\r\n"));
        QTest::newRow("UTF-16 LE") << utf16le("1.01\r\n") << TextEncoding::Utf16Le << utf16le("9.09\r\n");
        QTest::newRow("UTF-8") << QByteArray("1.01\r\n") << TextEncoding::Utf8 << QByteArray("9.09\r\n");
    }

    // A load that finds no file keeps the encoding of the last file read, and a new archive's first
    // file is written in it; the older lines of the last file are not carried over.
    void encodingKeptAcrossLoads() {
        QFETCH(QByteArray, first);
        QFETCH(TextEncoding, encoding);
        QFETCH(QByteArray, newFile);
        QVERIFY(writeBytes(recordFilePath("old"), first + crlfFile(draws(1, 120))));
        RecordList list;
        QVERIFY(list.load("old"));
        QCOMPARE(list.encoding(), encoding);
        QVERIFY(!list.load("new"));
        QVERIFY(list.lines().isEmpty());
        QCOMPARE(list.file(), recordFilePath("new"));
        QCOMPARE(list.encoding(), encoding);
        list.addRecord("9.09");
        list.save();
        QCOMPARE(readBytes(recordFilePath("new")), newFile);
    }

    // The save refused after a failed load names the file once, with the reason it could not be read.
    void failedLoadLeavesFileAlone_data() {
        QTest::addColumn<QByteArray>("bad");
        QTest::addColumn<bool>("openable");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not UTF-8 after the mark")
            << QByteArray("\xEF\xBB\xBF"
                          "1.01\r\n\xC4\xCF\r\n")
            << true
            << QStringLiteral(
                   "No mapping for the Unicode character exists in the target multi-byte code page");
        if (OpenFileLimit::kAvailable) {
            QTest::newRow("cannot be opened")
                << QByteArray("1.01\r\n") << false << QStringLiteral("Too many open files");
        }
    }

    void failedLoadLeavesFileAlone() {
        QFETCH(QByteArray, bad);
        QFETCH(bool, openable);
        QFETCH(QString, reason);
        const QString path = recordFilePath("bad");
        QVERIFY(writeBytes(path, bad));
        QVERIFY(writeBytes(recordFilePath("good"), "1.01\r\n"));
        RecordList list;
        QVERIFY(list.load("good"));
        try {
            std::optional<OpenFileLimit> noOpen;
            if (!openable)
                QVERIFY(noOpen.emplace().isActive());
            list.load("bad");
            QFAIL("no error raised");
        } catch (const Error& error) {
            QVERIFY2(error.message().endsWith(reason), qPrintable(error.message()));
        }
        QVERIFY(list.lines().isEmpty());
        QCOMPARE(list.file(), path);

        list.append("2.02");
        try {
            list.save();
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("Cannot create file \"%1\" because it could not be read: %2")
                         .arg(path, reason));
        }
        QCOMPARE(readBytes(path), bad);

        QVERIFY(list.load("good")); // a good load makes saving possible again
        list.append("2.02");
        list.save();
        QCOMPARE(readBytes(recordFilePath("good")), QByteArray("1.01\r\n2.02\r\n"));
    }

    void failedSaveKeepsFileAndLines() {
        const QString path = recordFilePath("3D");
        const QByteArray old = crlfFile(draws(1, 3));
        QVERIFY(writeBytes(path, old));
        RecordList list;
        QVERIFY(list.load("3D"));
        QVERIFY(QFile::setPermissions(path, kReadOnlyFile));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(path, kWritableFile); });
        list.addRecord("19000.05");
        list.sortRecords();
        try {
            list.save();
            QFAIL("no error raised");
        } catch (const Error& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)),
                     qPrintable(error.message()));
        }
        QCOMPARE(readBytes(path), old);
        QCOMPARE(list.lines(), QStringList{"19000.05"} + draws(1, 3));
    }

    void findPeriod_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("period");
        QTest::addColumn<int>("index");
        QTest::newRow("found") << QStringList{"1.01", "2.02"} << "2" << 1;
        QTest::newRow("shared period gives the earlier") << QStringList{"3.01", "2.02", "2.03"} << "2" << 1;
        QTest::newRow("letter case counts") << QStringList{"a.01"} << "A" << -1;
        QTest::newRow("prefix is no match") << QStringList{"10.05"} << "1" << -1;
        QTest::newRow("empty period") << QStringList{"1.01", "123"} << "" << 1;
        QTest::newRow("empty list") << QStringList{} << "1" << -1;
    }

    void findPeriod() {
        QFETCH(QStringList, lines);
        QFETCH(QString, period);
        QFETCH(int, index);
        RecordList list;
        for (const QString& line : lines)
            list.append(line);
        const std::optional<int> found = list.findPeriod(period);
        QCOMPARE(found.value_or(-1), index);
    }

    void removePeriod_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("period");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("shared period")
            << QStringList{"2.01", "1.05", "2.02"} << "2" << 2 << QStringList{"1.05"};
        QTest::newRow("neighbours") << QStringList{"2.01", "2.02", "3.03"} << "2" << 2 << QStringList{"3.03"};
        QTest::newRow("letter case counts") << QStringList{"a.01", "A.02"} << "a" << 1 << QStringList{"A.02"};
        QTest::newRow("none") << QStringList{"1.01"} << "9" << 0 << QStringList{"1.01"};
        QTest::newRow("empty period") << QStringList{"123", "1.01", ".5"} << "" << 2 << QStringList{"1.01"};
        QTest::newRow("equal lines") << QStringList{"1.01", "1.01"} << "1" << 2 << QStringList{};
    }

    void removePeriod() {
        QFETCH(QStringList, lines);
        QFETCH(QString, period);
        QFETCH(int, removed);
        QFETCH(QStringList, left);
        RecordList list;
        for (const QString& line : lines)
            list.append(line);
        QCOMPARE(list.removePeriod(period), removed);
        QCOMPARE(list.lines(), left);
    }

    void addRecord_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("new line appended") << QStringList{"2.01"} << "1.01" << QStringList{"2.01", "1.01"};
        QTest::newRow("equal line") << QStringList{"2.01"} << "2.01" << QStringList{"2.01"};
        QTest::newRow("differs in letter case") << QStringList{"a.x"} << "A.X" << QStringList{"a.x"};
        QTest::newRow("same period, other number")
            << QStringList{"2.01"} << "2.02" << QStringList{"2.01", "2.02"};
    }

    void addRecord() {
        QFETCH(QStringList, lines);
        QFETCH(QString, line);
        QFETCH(QStringList, after);
        RecordList list;
        for (const QString& present : lines)
            list.append(present);
        list.addRecord(line);
        QCOMPARE(list.lines(), after);
    }

    void replaceAndAppend() {
        RecordList list;
        list.append("3.03");
        list.append("1.01");
        list.append("1.01"); // append does not test
        list.replaceRecord(0, "0.00");
        QCOMPARE(list.lines(), (QStringList{"0.00", "1.01", "1.01"}));
        list.replaceRecord(3, "9.09");
        list.replaceRecord(-1, "9.09");
        QCOMPARE(list.lines(), (QStringList{"0.00", "1.01", "1.01"}));
        list.clear();
        QVERIFY(list.lines().isEmpty());
    }

    void sortUsesRecordOrder() {
        RecordList list;
        for (const char* line : {"9.01", "10.1", "10.01"})
            list.append(line);
        list.sortRecords();
        QCOMPARE(list.lines(), (QStringList{"10.01", "10.1", "9.01"}));
    }
};

int runRecordListTests(int argc, char** argv) {
    RecordListTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "record_list_test.moc"
