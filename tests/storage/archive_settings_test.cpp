#include "data_folder_case.h"
#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "test_support.h"

#include <QScopeGuard>
#include <QTest>

using namespace dravik;
using namespace dravik::test;

namespace {

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QByteArray archiveFile(const QString& name, int x, int a, int b, int c, int r1, int r2, int r3) {
    return crlfLines({"[dravik]", "name=" + name, "[math]", QStringLiteral("X=%1").arg(x),
                      QStringLiteral("A=%1").arg(a), QStringLiteral("B=%1").arg(b),
                      QStringLiteral("C=%1").arg(c), "[from]", QStringLiteral("r1=%1").arg(r1), "[model]",
                      QStringLiteral("r2=%1").arg(r2), "[count]", QStringLiteral("r3=%1").arg(r3)});
}

} // namespace

class ArchiveSettingsTest : public DataFolderCase {
    Q_OBJECT

private slots:
    void builtInSettingsCreated() {
        createBuiltInSettings();
        const QByteArray expected =
            QStringLiteral("[dravik]\r\nname=南粤风采好彩1\r\n[math]\r\nX=36\r\nA=6\r\nB=6\r\n"
                           "C=0\r\n[from]\r\nr1=1\r\n[model]\r\nr2=0\r\n[count]\r\nr3=0\r\n")
                .toUtf8();
        QCOMPARE(readBytes(settingsFilePath(kBuiltInArchive)), expected);
    }

    void builtInSettingsNeverOverwritten() {
        const QByteArray changed("[math]\r\nX=49\r\n");
        QVERIFY(writeBytes(settingsFilePath(kBuiltInArchive), changed));
        createBuiltInSettings();
        QCOMPARE(readBytes(settingsFilePath(kBuiltInArchive)), changed);
    }

    // A null start means that set.ini is missing.
    void recordStart_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<bool>("created");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after");
        const QString builtIn = kBuiltInArchive;

        QTest::newRow("first start") << QByteArray() << true << builtIn
                                     << crlfLines({"[runtime]", "count=1", "[dravik]", "name=" + builtIn});
        QTest::newRow("later start") << crlfLines({"[runtime]", "count=1", "[dravik]", "name=3D"}) << false
                                     << "3D" << crlfLines({"[runtime]", "count=2", "[dravik]", "name=3D"});
        QTest::newRow("counter missing") << crlfLines({"[dravik]", "name=3D"}) << false << "3D"
                                         << crlfLines({"[dravik]", "name=3D", "[runtime]", "count=2"});
        QTest::newRow("counter not an integer") << crlfLines({"[runtime]", "count=many"}) << false << builtIn
                                                << crlfLines({"[runtime]", "count=2"});
        QTest::newRow("empty name is no default")
            << crlfLines({"[runtime]", "count=7", "[dravik]", "name="}) << false << ""
            << crlfLines({"[runtime]", "count=8", "[dravik]", "name="});
        QTest::newRow("counter stops at the largest value")
            << crlfLines({"[runtime]", "count=2147483647"}) << false << builtIn
            << crlfLines({"[runtime]", "count=2147483647"});
    }

    void recordStart() {
        QFETCH(QByteArray, start);
        QFETCH(bool, created);
        QFETCH(QString, name);
        QFETCH(QByteArray, after);
        if (!start.isNull())
            QVERIFY(writeBytes(globalSettingsPath(), start));
        const StartRecord record = dravik::recordStart();
        QCOMPARE(record.created, created);
        QCOMPARE(record.archiveName, name);
        QCOMPARE(readBytes(globalSettingsPath()), after);
    }

    void noSettingsFile() { QVERIFY(!loadArchiveSettings("3D")); }

    void load_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("xabc");
        QTest::addColumn<int>("startValue");
        QTest::addColumn<int>("displayMode");
        QTest::addColumn<int>("depth");
        QTest::newRow("as written") << archiveFile("3D", 28, 5, 5, 3, 0, 1, 2)
                                    << QStringList{"28", "5", "5", "3"} << 0 << 1 << 2;
        QTest::newRow("text kept as text") << crlfLines({"[math]", "X=036", "A= 6 ", "B=six", "C="})
                                           << QStringList{"036", "6", "six", ""} << 0 << 0 << 0;
        QTest::newRow("radio values beyond the choices")
            << crlfLines({"[from]", "r1=0x1", "[model]", "r2=$1", "[count]", "r3=5"})
            << QStringList{"", "", "", ""} << 1 << 1 << 5;
        QTest::newRow("negative and not integers") << crlfLines({"[from]", "r1=abc", "[count]", "r3=-1"})
                                                   << QStringList{"", "", "", ""} << 0 << 0 << -1;
        QTest::newRow("other letter case") << crlfLines({"[MATH]", "x=40", "[COUNT]", "R3=1"})
                                           << QStringList{"40", "", "", ""} << 0 << 0 << 1;
        QTest::newRow("empty file") << QByteArray("") << QStringList{"", "", "", ""} << 0 << 0 << 0;
    }

    void load() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, xabc);
        QFETCH(int, startValue);
        QFETCH(int, displayMode);
        QFETCH(int, depth);
        QVERIFY(writeBytes(settingsFilePath("3D"), content));
        const std::optional<StoredSettings> s = loadArchiveSettings("3D");
        QVERIFY(s);
        QCOMPARE((QStringList{s->x, s->a, s->b, s->c}), xabc);
        QCOMPARE(s->startValue, startValue);
        QCOMPARE(s->displayMode, displayMode);
        QCOMPARE(s->depth, depth);
    }

    // [math] K: the integer rule, then anything but 1 to 20 is 1.
    void loadNumbersPerDraw_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("k");
        QTest::newRow("no key") << archiveFile("3D", 28, 5, 5, 3, 0, 1, 2) << 1;
        QTest::newRow("6") << crlfLines({"[math]", "X=33", "C=0", "K=6"}) << 6;
        QTest::newRow("20, the largest") << crlfLines({"[math]", "K=20"}) << 20;
        QTest::newRow("21") << crlfLines({"[math]", "K=21"}) << 1;
        QTest::newRow("99") << crlfLines({"[math]", "K=99"}) << 1;
        QTest::newRow("0") << crlfLines({"[math]", "K=0"}) << 1;
        QTest::newRow("negative") << crlfLines({"[math]", "K=-6"}) << 1;
        QTest::newRow("not an integer") << crlfLines({"[math]", "K=abc"}) << 1;
        QTest::newRow("empty") << crlfLines({"[math]", "K="}) << 1;
        QTest::newRow("integer rule, letter case") << crlfLines({"[MATH]", "k=0x6"}) << 6;
        QTest::newRow("in another section") << crlfLines({"[count]", "K=6"}) << 1;
    }

    void loadNumbersPerDraw() {
        QFETCH(QByteArray, content);
        QFETCH(int, k);
        QVERIFY(writeBytes(settingsFilePath("双色球"), content));
        const std::optional<StoredSettings> s = loadArchiveSettings("双色球");
        QVERIFY(s);
        QCOMPARE(s->k, k);
    }

    // K is written after C when it is not 1 or the file holds it already; a file that never had it
    // and stays at 1 is written byte for byte as before. A null `before` means no file.
    void saveNumbersPerDraw_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("k");
        QTest::addColumn<QByteArray>("after");
        const QByteArray plain = archiveFile("双色球", 33, 3, 11, 0, 1, 0, 0);
        const auto withK = [](const QString& k) {
            return crlfLines({"[dravik]", "name=双色球", "[math]", "X=33", "A=3", "B=11", "C=0", "K=" + k,
                              "[from]", "r1=1", "[model]", "r2=0", "[count]", "r3=0"});
        };
        QTest::newRow("new file, K = 1: no key") << QByteArray() << 1 << plain;
        QTest::newRow("new file, K = 6") << QByteArray() << 6 << withK("6");
        QTest::newRow("file without the key, K = 1") << plain << 1 << plain;
        QTest::newRow("file without the key, K = 6") << plain << 6 << withK("6");
        QTest::newRow("file with K = 6, back to 1") << withK("6") << 1 << withK("1");
        QTest::newRow("hand-edited K = abc, K = 1") << withK("abc") << 1 << withK("1");
        QTest::newRow("K = 20") << withK("2") << 20 << withK("20");
        QTest::newRow("key elsewhere in its section stays there")
            << crlfLines({"[math]", "k=2", "X=33"}) << 6
            << crlfLines({"[math]", "k=6", "X=33", "A=3", "B=11", "C=0", "[dravik]", "name=双色球", "[from]",
                          "r1=1", "[model]", "r2=0", "[count]", "r3=0"});
    }

    void saveNumbersPerDraw() {
        QFETCH(QByteArray, before);
        QFETCH(int, k);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            QVERIFY(writeBytes(settingsFilePath("双色球"), before));
        SavedSettings settings{33, 3, 11, 0, 1, 0, 0};
        settings.k = k;
        saveArchiveSettings("双色球", settings);
        QCOMPARE(readBytes(settingsFilePath("双色球")), after);
        QCOMPARE(loadArchiveSettings("双色球")->k, k);
    }

    void saveCreatesBothFiles() {
        dravik::recordStart();
        saveArchiveSettings("3D", {28, 5, 5, 3, 0, 1, 2});
        QCOMPARE(readBytes(settingsFilePath("3D")), archiveFile("3D", 28, 5, 5, 3, 0, 1, 2));
        QCOMPARE(readBytes(globalSettingsPath()), crlfLines({"[runtime]", "count=1", "[dravik]", "name=3D"}));
    }

    void saveRewritesKeys() {
        QVERIFY(
            writeBytes(settingsFilePath("3D"), crlfLines({"[math]", "X=036", "; kept", "[count]", "r3=9"})));
        saveArchiveSettings("3D", {36, 6, 6, 0, 1, 0, 1});
        QCOMPARE(readBytes(settingsFilePath("3D")),
                 crlfLines({"[math]", "X=36", "A=6", "B=6", "C=0", "; kept", "[count]", "r3=1", "[dravik]",
                            "name=3D", "[from]", "r1=1", "[model]", "r2=0"}));
        QCOMPARE(readBytes(globalSettingsPath()), crlfLines({"[dravik]", "name=3D"}));
    }

    void failedSaveChangesNothing() {
        dravik::recordStart();
        const QByteArray global = readBytes(globalSettingsPath());
        const QString path = settingsFilePath("3D");
        const QByteArray old = archiveFile("3D", 28, 5, 5, 3, 0, 1, 2);
        QVERIFY(writeBytes(path, old));
        QVERIFY(QFile::setPermissions(path, kReadOnlyFile));
        const auto restore = qScopeGuard([&] { QFile::setPermissions(path, kWritableFile); });
        try {
            saveArchiveSettings("3D", {36, 6, 6, 0, 1, 0, 1});
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(path));
        }
        QCOMPARE(readBytes(path), old);
        QCOMPARE(readBytes(globalSettingsPath()), global);
    }

    // Where the history lives: written after the other sections, in the order url, column, auto, and
    // read back; a later save of the settings keeps it where it is.
    void source() {
        const QString path = settingsFilePath("双色球");
        const QByteArray settings = archiveFile("双色球", 33, 3, 11, 0, 1, 0, 0);
        QVERIFY(writeBytes(path, settings));
        QVERIFY(!loadArchiveSource("双色球"));
        saveArchiveSource("双色球", {"http://127.0.0.1:8080/ssq.html", "第3列起6列", true});
        QCOMPARE(readBytes(path), settings + crlfLines({"[source]", "url=http://127.0.0.1:8080/ssq.html",
                                                        "column=第3列起6列", "auto=1"}));
        const std::optional<ArchiveSource> read = loadArchiveSource("双色球");
        QVERIFY(read);
        QCOMPARE(read->url, QStringLiteral("http://127.0.0.1:8080/ssq.html"));
        QCOMPARE(read->column, QStringLiteral("第3列起6列"));
        QVERIFY(read->autoUpdate);

        SavedSettings saved;
        saved.x = 33;
        saved.a = 33;
        saved.b = 1;
        saved.startValue = 1;
        saveArchiveSettings("双色球", saved);
        saveArchiveSource("双色球", {"https://example.invalid/a", "最后6列", false});
        QCOMPARE(readBytes(path),
                 archiveFile("双色球", 33, 33, 1, 0, 1, 0, 0) +
                     crlfLines({"[source]", "url=https://example.invalid/a", "column=最后6列", "auto=0"}));
        QVERIFY(!loadArchiveSource("双色球")->autoUpdate);
        // An address of blanks is none.
        saveArchiveSource("双色球", {" ", "最后6列", true});
        QVERIFY(!loadArchiveSource("双色球"));
    }

    void siteRoot_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("site");
        QTest::newRow("no set.ini") << QByteArray() << "";
        QTest::newRow("no download section") << crlfLines({"[runtime]", "count=3"}) << "";
        QTest::newRow("site set") << crlfLines(
                                         {"[runtime]", "count=3", "[download]", "site=http://127.0.0.1:8080"})
                                  << "http://127.0.0.1:8080";
    }

    void siteRoot() {
        QFETCH(QByteArray, content);
        QFETCH(QString, site);
        if (!content.isNull())
            QVERIFY(writeBytes(globalSettingsPath(), content));
        QCOMPARE(configuredSiteRoot(), site);
        if (content.isNull())
            QVERIFY(!QFile::exists(globalSettingsPath()));
        else
            QCOMPARE(readBytes(globalSettingsPath()), content);
    }
};

int runArchiveSettingsTests(int argc, char** argv) {
    ArchiveSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "archive_settings_test.moc"
