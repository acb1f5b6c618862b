#include "data_folder_case.h"
#include "storage/data_folder.h"
#include "storage/error.h"
#include "storage/record_file.h"
#include "storage/settings_file.h"
#include "test_support.h"

#include <QTest>
#include <windows.h>

using namespace dravik;
using namespace dravik::test;

namespace {

// Another program holding a file open, as Windows programs do (an editor, a spreadsheet, a virus
// scanner), without letting it be deleted: the file cannot be replaced while it is held.
class HeldFile {
public:
    HeldFile(const QString& path, DWORD sharing)
        : handle_(CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, sharing, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool isHeld() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (isHeld())
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

} // namespace

// A whole-file save of a file that another program holds open: the save fails with the system's
// reason, the old file stays as it was and no temporary file is left; once the file is let go, the
// same save goes through. The archive's name is Chinese, as the built-in one is.
class HeldFileTest : public DataFolderCase {
    Q_OBJECT

private slots:
    void save_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<uint>("sharing");
        const QString records = kBuiltInArchive + ".dat";
        const QString settings = kBuiltInArchive + ".ini";
        QTest::newRow("record file, held for reading") << records << uint(FILE_SHARE_READ);
        QTest::newRow("record file, held alone") << records << uint(0);
        QTest::newRow("record file, held for reading and writing")
            << records << uint(FILE_SHARE_READ | FILE_SHARE_WRITE);
        QTest::newRow("settings file, held for reading") << settings << uint(FILE_SHARE_READ);
        QTest::newRow("global settings, held alone") << QStringLiteral("set.ini") << uint(0);
    }

    void save() {
        QFETCH(QString, file);
        QFETCH(uint, sharing);
        const QString path = dataFolder() + file;
        const bool records = file.endsWith(".dat");
        const QByteArray old = records ? QByteArray("19001.05\r\n") : QByteArray("[dravik]\r\nX=36\r\n");
        QVERIFY(writeBytes(path, old));
        const auto save = [&] {
            if (records)
                writeRecordFile(path, {"19001.05", "19002.06"}, TextEncoding::Utf8);
            else
                SettingsFile(path).writeText("dravik", "X", "37");
        };

        HeldFile held(path, sharing);
        QVERIFY(held.isHeld());
        try {
            save();
            QFAIL("no error raised");
        } catch (const Error& error) {
            const QString expected = records ? QStringLiteral("Cannot create file \"%1\". ").arg(path)
                                             : QStringLiteral("Unable to write to %1").arg(path);
            QVERIFY2(error.message().startsWith(expected), qPrintable(error.message()));
            if (records)
                QVERIFY2(error.message().size() > expected.size(), "no reason given");
        }
        held.release();
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{file});

        save();
        QVERIFY(readBytes(path) != old);
    }
};

QTEST_GUILESS_MAIN(HeldFileTest)
#include "held_file_test.moc"
