#include "storage/archive_settings.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_list.h"
#include "storage/settings_file.h"
#include "test_support.h"

#include <QTest>

using namespace dravik;
using namespace dravik::test;

class DataFolderTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        home_ = std::make_unique<TempDataHome>();
        QVERIFY(home_->isValid());
    }
    void cleanup() { home_.reset(); }

    void paths() {
        const QString base = home_->path();
        QCOMPARE(baseFolder(), base);
        QCOMPARE(dataFolder(), base + "/Dravik/");
        QCOMPARE(recordFilePath(QStringLiteral(" a b ")), base + "/Dravik/ a b .dat");
        QCOMPARE(settingsFilePath(kBuiltInArchive), base + QStringLiteral("/Dravik/南粤风采好彩1.ini"));
        QCOMPARE(globalSettingsPath(), base + "/Dravik/set.ini");
    }

    void pathsFollowTheEnvironment() {
        if (!TempDataHome::kAnyFolder)
            QSKIP("the data home is always the same folder here");
        const TempDataHome other;
        QCOMPARE(dataFolder(), other.path() + "/Dravik/");
    }

    void ensureCreatesMissingParents() {
        if (!TempDataHome::kAnyFolder)
            QSKIP("the data home is always the same folder here");
        qputenv("XDG_DATA_HOME", (home_->path() + "/x/y").toUtf8());
        ensureDataFolder();
        QVERIFY(QFileInfo(home_->path() + "/x/y/Dravik").isDir());
        ensureDataFolder(); // already there: nothing happens
        QVERIFY(QFileInfo(home_->path() + "/x/y/Dravik").isDir());
    }

    void ensureFailsSilently() {
        if (!TempDataHome::kAnyFolder)
            QSKIP("the data home is always the same folder here");
        QVERIFY(writeBytes(home_->path() + "/file", "x"));
        qputenv("XDG_DATA_HOME", (home_->path() + "/file").toUtf8());
        ensureDataFolder();
        QVERIFY(!QFileInfo(home_->path() + "/file/Dravik").exists());
    }

    void listing_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("archives");
        QTest::newRow("upper-case extension") << QStringList{"x.DAT"} << QStringList{} << QStringList{"x"};
        QTest::newRow("mixed case") << QStringList{"a.Dat", "b.dAt"} << QStringList{}
                                    << QStringList{"a", "b"};
        QTest::newRow("folder named .dat") << QStringList{} << QStringList{"y.dat"} << QStringList{};
        QTest::newRow("file named .dat") << QStringList{".dat"} << QStringList{} << QStringList{""};
        QTest::newRow("longer extension") << QStringList{"z.data"} << QStringList{} << QStringList{};
        QTest::newRow("settings files")
            << QStringList{"set.ini", "k.ini", "k.dat"} << QStringList{} << QStringList{"k"};
        QTest::newRow("subfolder files") << QStringList{"sub/w.dat"} << QStringList{"sub"} << QStringList{};
        QTest::newRow("Chinese name") << QStringList{QStringLiteral("南粤风采好彩1.dat")} << QStringList{}
                                      << QStringList{kBuiltInArchive};
        QTest::newRow("empty folder") << QStringList{} << QStringList{} << QStringList{};
    }

    void listing() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, archives);
        ensureDataFolder();
        for (const QString& folder : folders)
            QVERIFY(QDir().mkpath(dataFolder() + folder));
        for (const QString& file : files)
            QVERIFY(writeBytes(dataFolder() + file, "1.01\r\n"));
        QStringList listed = listArchives();
        listed.sort();
        archives.sort();
        QCOMPARE(listed, archives);
    }

    void listingWithoutDataFolder() {
        try {
            listArchives();
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("The specified path was not found"));
        }
    }

    // A folder named like one of the data folder's files: every reader of the storage layer answers
    // exactly as when nothing is there, error texts included.
    void folderNamedLikeAFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reader");
        QTest::newRow("y.dat, exists") << "y.dat"
                                       << "exists";
        QTest::newRow("y.dat, whole file") << "y.dat"
                                           << "record file";
        QTest::newRow("y.dat, latest lines") << "y.dat"
                                             << "record tail";
        QTest::newRow("y.dat, record list") << "y.dat"
                                            << "record list";
        QTest::newRow("y.ini, exists") << "y.ini"
                                       << "exists";
        QTest::newRow("y.ini, archive settings") << "y.ini"
                                                 << "archive settings";
        QTest::newRow("y.ini, key") << "y.ini"
                                    << "settings key";
        QTest::newRow("set.ini, key") << "set.ini"
                                      << "settings key";
        QTest::newRow("set.ini, site") << "set.ini"
                                       << "site";
    }

    void folderNamedLikeAFile() {
        QFETCH(QString, name);
        QFETCH(QString, reader);
        const QString path = dataFolder() + name;
        const QString archive = name.chopped(4);
        const auto read = [&]() -> QString {
            if (reader == QLatin1String("exists"))
                return fileExists(path) ? "exists" : "missing";
            if (reader == QLatin1String("record file")) {
                const auto lines = readRecordFile(path);
                return lines ? lines->lines.join('|') : "none";
            }
            if (reader == QLatin1String("record tail")) {
                const auto tail = readRecordTail(path, 100);
                return tail ? tail->lines.join('|') : "none";
            }
            if (reader == QLatin1String("record list")) {
                RecordList list;
                return list.load(archive) ? "found" : "not found";
            }
            if (reader == QLatin1String("archive settings"))
                return loadArchiveSettings(archive) ? "found" : "none";
            if (reader == QLatin1String("settings key"))
                return SettingsFile(path).readText("math", "X", "default");
            return configuredSiteRoot();
        };
        const auto outcome = [&] {
            try {
                return read();
            } catch (const Error& error) {
                return "error: " + error.message();
            }
        };
        ensureDataFolder();
        const QString missing = outcome();
        QVERIFY(QDir().mkpath(path));
        QCOMPARE(outcome(), missing);
    }

    void safeNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("built-in") << kBuiltInArchive << true;
        QTest::newRow("blanks kept") << " 3D " << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("slash") << "../x" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("dots inside") << "a..b" << true;
    }

    void safeNames() {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(isSafeArchiveName(name), safe);
    }

private:
    std::unique_ptr<TempDataHome> home_;
};

int runDataFolderTests(int argc, char** argv) {
    DataFolderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "data_folder_test.moc"
