#include "file_size_limit.h"
#include "storage/error.h"
#include "storage/settings_file.h"
#include "test_support.h"

#include <QScopeGuard>
#include <QTest>
#include <optional>

using namespace dravik;
using namespace dravik::test;

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        home_ = std::make_unique<TempDataHome>();
        QVERIFY(home_->isValid());
        path_ = home_->path() + "/t.ini";
    }
    void cleanup() { home_.reset(); }

    // A null content means that no file is there.
    void readText_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString fallback = "<default>";

        QTest::newRow("no file") << QByteArray() << "a"
                                 << "k" << fallback;
        QTest::newRow("no section") << QByteArray("[b]\r\nk=1\r\n") << "a"
                                    << "k" << fallback;
        QTest::newRow("no key") << QByteArray("[a]\r\nj=1\r\n") << "a"
                                << "k" << fallback;
        QTest::newRow("value") << QByteArray("[a]\r\nk=1\r\n") << "a"
                               << "k"
                               << "1";
        QTest::newRow("empty value is no default") << QByteArray("[a]\r\nk=\r\n") << "a"
                                                   << "k"
                                                   << "";
        QTest::newRow("other letter case") << QByteArray("[MATH]\r\nx=40\r\n") << "math"
                                           << "X"
                                           << "40";
        QTest::newRow("value kept as text") << QByteArray("[math]\r\nX=036\r\n") << "math"
                                            << "X"
                                            << "036";
        QTest::newRow("blanks around names and values")
            << QByteArray("  [ math ]  \r\n\t X  =  40 \r\n") << "math"
            << "X"
            << "40";
        QTest::newRow("comment line") << QByteArray("[a]\r\n;k=1\r\n k=2\r\n") << "a"
                                      << "k"
                                      << "2";
        QTest::newRow("commented section") << QByteArray(";[a]\r\nk=1\r\n[a]\r\nk=2\r\n") << "a"
                                           << "k"
                                           << "2";
        QTest::newRow("first of repeated keys") << QByteArray("[a]\r\nk=1\r\nK=2\r\n") << "a"
                                                << "k"
                                                << "1";
        QTest::newRow("first of repeated sections") << QByteArray("[a]\r\nj=1\r\n[A]\r\nk=2\r\n") << "a"
                                                    << "j"
                                                    << "1";
        QTest::newRow("only the first repeated section is read")
            << QByteArray("[a]\r\nj=1\r\n[A]\r\nk=2\r\n") << "a"
            << "k" << fallback;
        QTest::newRow("key of another section") << QByteArray("[a]\r\nk=1\r\n[b]\r\n") << "b"
                                                << "k" << fallback;
        QTest::newRow("key before any section") << QByteArray("k=1\r\n[a]\r\n") << "a"
                                                << "k" << fallback;
        QTest::newRow("equals sign in value") << QByteArray("[a]\r\nk=a=b\r\n") << "a"
                                              << "k"
                                              << "a=b";
        QTest::newRow("line without equals sign") << QByteArray("[a]\r\nk\r\n") << "a"
                                                  << "k" << fallback;
        QTest::newRow("LF line ends") << QByteArray("[a]\nk=1\n") << "a"
                                      << "k"
                                      << "1";
        QTest::newRow("no final line end") << QByteArray("[a]\r\nk=1") << "a"
                                           << "k"
                                           << "1";
        QTest::newRow("Chinese in UTF-8")
            << QStringLiteral("[dravik]\r\nname=南粤风采好彩1\r\n").toUtf8() << "dravik"
            << "name" << QStringLiteral("南粤风采好彩1");
        QTest::newRow("Chinese in GB18030")
            << gb18030(QStringLiteral("[dravik]\r\nname=南粤风采好彩1\r\n")) << "dravik"
            << "name" << QStringLiteral("南粤风采好彩1");
        QTest::newRow("UTF-16 LE") << utf16le(QStringLiteral("[a]\r\nk=甲\r\n")) << "a"
                                   << "k" << QStringLiteral("甲");
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[a]\r\nk=1\r\n") << "a"
                                    << "k"
                                    << "1";
        QTest::newRow("undecodable file reads as missing")
            << QByteArray("\xEF\xBB\xBF[a]\r\nk=\xC4\xCF\r\n") << "a"
            << "k" << fallback;
        QTest::newRow("value of 3000 characters") << QByteArray("[a]\r\nk=") + QByteArray(3000, '7') + "\r\n"
                                                  << "a"
                                                  << "k" << QString(2047, u'7');
    }

    void readText() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        if (!content.isNull())
            QVERIFY(writeBytes(path_, content));
        QCOMPARE(SettingsFile(path_).readText(section, key, "<default>"), expected);
        if (content.isNull())
            QVERIFY(!QFile::exists(path_)); // reading creates nothing
    }

    void readInteger_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("[c]\r\nr=5\r\n") << 5;
        QTest::newRow("negative") << QByteArray("[c]\r\nr=-1\r\n") << -1;
        QTest::newRow("0x") << QByteArray("[c]\r\nr=0x1\r\n") << 1;
        QTest::newRow("dollar") << QByteArray("[c]\r\nr=$1\r\n") << 1;
        QTest::newRow("blanks around") << QByteArray("[c]\r\n r = 12 \r\n") << 12;
        QTest::newRow("not an integer") << QByteArray("[c]\r\nr=abc\r\n") << 99;
        QTest::newRow("empty") << QByteArray("[c]\r\nr=\r\n") << 99;
        QTest::newRow("missing") << QByteArray("[c]\r\n") << 99;
    }

    void readInteger() {
        QFETCH(QByteArray, content);
        QFETCH(int, expected);
        QVERIFY(writeBytes(path_, content));
        QCOMPARE(SettingsFile(path_).readInteger("c", "r", 99), expected);
    }

    // A null start means that no file is there.
    void writeText_data() {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("new file") << QByteArray() << "s"
                                  << "k"
                                  << "v" << QByteArray("[s]\r\nk=v\r\n");
        QTest::newRow("new file, Chinese, UTF-8 without mark")
            << QByteArray() << "dravik"
            << "name" << kName << QStringLiteral("[dravik]\r\nname=南粤风采好彩1\r\n").toUtf8();
        QTest::newRow("replace keeps the rest") << QByteArray("[a]\r\nX=1\r\nY=2\r\n") << "a"
                                                << "X"
                                                << "9" << QByteArray("[a]\r\nX=9\r\nY=2\r\n");
        QTest::newRow("replace keeps the key's spelling") << QByteArray("[MATH]\r\nx=40\r\n") << "math"
                                                          << "X"
                                                          << "36" << QByteArray("[MATH]\r\nx=36\r\n");
        QTest::newRow("empty value") << QByteArray("[a]\r\nX=1\r\n") << "a"
                                     << "X"
                                     << "" << QByteArray("[a]\r\nX=\r\n");
        QTest::newRow("add at end of section") << QByteArray("[a]\r\nX=1\r\n[b]\r\nZ=3\r\n") << "a"
                                               << "Y"
                                               << "2" << QByteArray("[a]\r\nX=1\r\nY=2\r\n[b]\r\nZ=3\r\n");
        QTest::newRow("add to an empty section") << QByteArray("[a]\r\n[b]\r\n") << "a"
                                                 << "Y"
                                                 << "2" << QByteArray("[a]\r\nY=2\r\n[b]\r\n");
        QTest::newRow("add section at end of file") << QByteArray("[a]\r\nX=1\r\n") << "b"
                                                    << "Y"
                                                    << "2" << QByteArray("[a]\r\nX=1\r\n[b]\r\nY=2\r\n");
        QTest::newRow("empty file") << QByteArray("") << "b"
                                    << "Y"
                                    << "2" << QByteArray("[b]\r\nY=2\r\n");
        QTest::newRow("hand-written lines kept")
            << QByteArray("; note\r\n[a]\r\n  X = 1 \r\n\r\n; about b\r\n[b]\r\nZ=3") << "a"
            << "Y"
            << "2" << QByteArray("; note\r\n[a]\r\n  X = 1 \r\nY=2\r\n\r\n; about b\r\n[b]\r\nZ=3\r\n");
        QTest::newRow("hand-written key replaced") << QByteArray("[a]\r\n  X = 1 \r\n") << "a"
                                                   << "X"
                                                   << "5" << QByteArray("[a]\r\nX=5\r\n");
        QTest::newRow("comment that looks like the key") << QByteArray("[a]\r\n;X=1\r\n") << "a"
                                                         << "X"
                                                         << "5" << QByteArray("[a]\r\nX=5\r\n;X=1\r\n");
        QTest::newRow("first of repeated keys") << QByteArray("[a]\r\nX=1\r\nX=2\r\n") << "a"
                                                << "X"
                                                << "5" << QByteArray("[a]\r\nX=5\r\nX=2\r\n");
        QTest::newRow("first of repeated sections") << QByteArray("[a]\r\n[A]\r\nX=2\r\n") << "a"
                                                    << "X"
                                                    << "5" << QByteArray("[a]\r\nX=5\r\n[A]\r\nX=2\r\n");
        QTest::newRow("text after a NUL kept") << QByteArray("[a]\r\nn=1\0x\r\n", 12) << "a"
                                               << "X"
                                               << "5" << QByteArray("[a]\r\nn=1\0x\r\nX=5\r\n", 17);
        QTest::newRow("LF line ends become CR LF") << QByteArray("[a]\nX=1\n") << "a"
                                                   << "Y"
                                                   << "2" << QByteArray("[a]\r\nX=1\r\nY=2\r\n");
        QTest::newRow("GB18030 stays GB18030")
            << gb18030(QStringLiteral("[dravik]\r\nname=南粤\r\n")) << "dravik"
            << "name" << kName << gb18030(QStringLiteral("[dravik]\r\nname=南粤风采好彩1\r\n"));
        QTest::newRow("UTF-8 mark kept")
            << QByteArray("\xEF\xBB\xBF[a]\r\n") << "a"
            << "k" << QStringLiteral("甲")
            << QByteArray("\xEF\xBB\xBF") + QStringLiteral("[a]\r\nk=甲\r\n").toUtf8();
        QTest::newRow("empty names") << QByteArray() << ""
                                     << ""
                                     << "v" << QByteArray("[]\r\n=v\r\n");
        QTest::newRow("brackets inside names") << QByteArray() << "[x"
                                               << "k[]"
                                               << "v" << QByteArray("[[x]\r\nk[]=v\r\n");
        QTest::newRow("UTF-16 BE kept") << utf16be("[a]\r\n") << "a"
                                        << "k"
                                        << "1" << utf16be("[a]\r\nk=1\r\n");
    }

    void writeText() {
        QFETCH(QByteArray, start);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, expected);
        if (!start.isNull())
            QVERIFY(writeBytes(path_, start));
        SettingsFile file(path_);
        file.writeText(section, key, value);
        QCOMPARE(readBytes(path_), expected);
        QCOMPARE(file.readText(section, key, "<default>"), value);
    }

    void writeInteger_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("zero") << 0 << QByteArray("[c]\r\nr=0\r\n");
        QTest::newRow("positive") << 36 << QByteArray("[c]\r\nr=36\r\n");
        QTest::newRow("negative") << -5 << QByteArray("[c]\r\nr=-5\r\n");
    }

    void writeInteger() {
        QFETCH(int, value);
        QFETCH(QByteArray, expected);
        SettingsFile file(path_);
        file.writeInteger("c", "r", value);
        QCOMPARE(readBytes(path_), expected);
        QCOMPARE(file.readInteger("c", "r", 99), value);
    }

    void writeAllIsKeyByKey() {
        SettingsFile file(path_);
        file.writeAll({{"a", "X", "1"}, {"b", "Y", "2"}, {"A", "Z", "3"}, {"a", "x", "4"}});
        QCOMPARE(readBytes(path_), QByteArray("[a]\r\nX=4\r\nZ=3\r\n[b]\r\nY=2\r\n"));
    }

    // A GB18030 file whose only bytes invalid in UTF-8 are in the value replaced: written back in
    // GB18030 the other lines would read as UTF-8 next time, as other characters.
    void gb18030KeepsOtherValues() {
        QVERIFY(writeBytes(path_, QByteArray("[a]\r\nx=\xC2\xA1\r\nk=\xFF\r\n")));
        SettingsFile file(path_);
        const QString before = file.readText("a", "x", "");
        QCOMPARE(before.size(), 1);
        QVERIFY(before != QStringLiteral("\u00A1"));
        file.writeText("a", "k", "1");
        QCOMPARE(file.readText("a", "x", ""), before);
        QCOMPARE(file.readText("a", "k", ""), QStringLiteral("1"));
    }

    // The same in one writeAll: the first key leaves GB18030 text that would go out as UTF-8, the
    // second a character that only GB18030 holds. Key by key the file turns UTF-8 at the first and
    // stays so; writeAll must leave the same bytes.
    void writeAllTurnsUtf8AsKeyByKey() {
        const QByteArray initial("[a]\r\nx=\xFF\r\n");
        const QList<SettingsEntry> entries{{"a", "x", QStringLiteral("痰")}, {"b", "y", QStringLiteral("á")}};
        const QString keyByKey = path_ + QStringLiteral(".keys");
        QVERIFY(writeBytes(keyByKey, initial));
        SettingsFile single(keyByKey);
        for (const SettingsEntry& entry : entries)
            single.writeText(entry.section, entry.key, entry.value);
        QVERIFY(writeBytes(path_, initial));
        SettingsFile file(path_);
        file.writeAll(entries);
        QCOMPARE(readBytes(path_), readBytes(keyByKey));
        QCOMPARE(readBytes(path_), QStringLiteral("[a]\r\nx=痰\r\n[b]\r\ny=á\r\n").toUtf8());
    }

    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("value");
        QTest::newRow("read-only file") << "file"
                                        << "2";
        QTest::newRow("read-only folder") << "folder"
                                          << "2";
        // Small files are held in a buffer until they are closed, large ones written at once: a full
        // disk must fail both rather than leave a truncated file in place.
        if (FileSizeLimit::kAvailable) {
            QTest::newRow("full disk, small file") << "full"
                                                   << "2";
            QTest::newRow("full disk, large file") << "full" << QString(20000, QLatin1Char('2'));
        }
        QTest::newRow("undecodable file") << "undecodable"
                                          << "2";
        QTest::newRow("line break in value") << ""
                                             << "2\r\n[x]";
        QTest::newRow("LF in value") << ""
                                     << "2\nY=3";
    }

    void failedWriteKeepsOldFile() {
        QFETCH(QString, failure);
        QFETCH(QString, value);
        const QString folder = home_->path() + "/locked";
        const QString path = folder + "/t.ini";
        const QByteArray old = failure == "undecodable" ? QByteArray("\xEF\xBB\xBF[a]\r\nn=\xC4\xCF\r\n")
                                                        : QByteArray("[a]\r\nX=1\r\n");
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
        try {
            std::optional<FileSizeLimit> full;
            if (failure == "full") {
                full.emplace(5);
                QVERIFY(full->isActive());
            }
            SettingsFile(path).writeText("a", "X", value);
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(path));
        }
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"t.ini"});
    }

    void writeIntoMissingFolderFails() {
        const QString path = home_->path() + "/absent/t.ini";
        try {
            SettingsFile(path).writeText("a", "X", "1");
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(path));
        }
        QVERIFY(!QFile::exists(path));
    }

    // Refused before anything is written. Put into [a], the key line "[b]=3" would read as a second
    // section [b] that hides the real one after it, and Y with it.
    void nameTheLinesCannotCarry_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("key opening a section") << "a"
                                               << "[b]";
        QTest::newRow("key starting a comment") << "a"
                                                << ";Y";
        QTest::newRow("key holding =") << "a"
                                       << "Y=1";
        QTest::newRow("blanks around the key") << "b"
                                               << " Y";
        QTest::newRow("section holding ]") << "b]c"
                                           << "Y";
        QTest::newRow("blanks around the section") << "b "
                                                   << "Y";
        QTest::newRow("line break in the key") << "a"
                                               << "Y\r\n[b]";
    }

    void nameTheLinesCannotCarry() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QByteArray old("[a]\r\nX=1\r\n[b]\r\nY=2\r\n");
        QVERIFY(writeBytes(path_, old));
        SettingsFile file(path_);
        try {
            file.writeText(section, key, "3");
            QFAIL("no error raised");
        } catch (const Error& error) {
            QCOMPARE(error.message(), QStringLiteral("Unable to write to %1").arg(path_));
        }
        QCOMPARE(readBytes(path_), old);
        QCOMPARE(file.readText("b", "Y", ""), QStringLiteral("2"));
    }

private:
    inline static const QString kName = QStringLiteral("南粤风采好彩1");
    std::unique_ptr<TempDataHome> home_;
    QString path_;
};

int runSettingsFileTests(int argc, char** argv) {
    SettingsFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "settings_file_test.moc"
