#include "storage/whole_file.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace dravik;
using namespace dravik::test;

namespace {

// A folder's entries, hidden ones included, as "name=content" for files and "name/" for folders.
QStringList listing(const QString& folder) {
    QStringList entries;
    const QDir dir(folder);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        entries.append(info.isDir() ? info.fileName() + QLatin1Char('/')
                                    : info.fileName() + QLatin1Char('=') +
                                          QString::fromUtf8(readBytes(info.filePath())));
    return entries;
}

// Makes the entries of a listing.
void create(const QString& folder, const QStringList& entries) {
    for (const QString& entry : entries) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(folder).mkdir(entry.chopped(1)));
        } else {
            const qsizetype split = entry.indexOf(QLatin1Char('='));
            QVERIFY(writeBytes(folder + QLatin1Char('/') + entry.left(split), entry.mid(split + 1).toUtf8()));
        }
    }
}

QStringList inFolder(const QString& folder, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names)
        paths.append(folder + QLatin1Char('/') + name);
    return paths;
}

} // namespace

class WholeFileTest : public QObject {
    Q_OBJECT

private slots:
    // The set takes its place whole, the files to remove gone and all else as it was; or, when one
    // step fails, the folder is as it was, with no temporary file left.
    void setWholeOrNothing_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<QStringList>("after");
        const QStringList pages{"p-1.png", "p-2.png", "p-3.png"};
        QTest::newRow("new files") << QStringList{"p.png=mine"} << pages << QStringList() << true
                                   << QStringList{"p-1.png=new 0", "p-2.png=new 1", "p-3.png=new 2",
                                                  "p.png=mine"};
        QTest::newRow("old files replaced, stale ones removed")
            << QStringList{"p-1.png=old 1", "p-3.png=old 3", "p-4.png=old 4", "p-5.png=old 5",
                           "p-7.png=old 7"}
            << pages << QStringList{"p-4.png", "p-5.png"} << true
            << QStringList{"p-1.png=new 0", "p-2.png=new 1", "p-3.png=new 2", "p-7.png=old 7"};
        QTest::newRow("a folder in the second file's place")
            << QStringList{"p-1.png=old 1", "p-2.png/", "p-3.png=old 3", "p-4.png=old 4"} << pages
            << QStringList{"p-4.png"} << false
            << QStringList{"p-1.png=old 1", "p-2.png/", "p-3.png=old 3", "p-4.png=old 4"};
        QTest::newRow("a folder in the last file's place")
            << QStringList{"p-1.png=old 1", "p-3.png/"} << pages << QStringList() << false
            << QStringList{"p-1.png=old 1", "p-3.png/"};
        QTest::newRow("a folder among those to remove stays")
            << QStringList{"p-2.png/"} << QStringList{"p-1.png"} << QStringList{"p-2.png"} << true
            << QStringList{"p-1.png=new 0", "p-2.png/"};
    }

    void setWholeOrNothing() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, paths);
        QFETCH(QStringList, removed);
        QFETCH(bool, committed);
        QFETCH(QStringList, after);
        QTemporaryDir folder;
        create(folder.path(), before);
        WholeFileSet set(inFolder(folder.path(), paths), inFolder(folder.path(), removed));
        QString reason;
        QVERIFY2(set.mayWrite(&reason), qPrintable(reason));
        for (int i = 0; i < paths.size(); ++i)
            QVERIFY2(set.write(i, "new " + QByteArray::number(i), &reason), qPrintable(reason));
        QCOMPARE(set.commit(&reason), committed);
        if (!committed) {
            QVERIFY(!reason.isEmpty());
            set.discard();
        }
        QCOMPARE(listing(folder.path()), after);
    }

    // A new file gets the permissions any new file gets; a replaced one keeps those of the old file.
    void permissions() {
        QTemporaryDir folder;
        create(folder.path(), {"made.png=x", "p-2.png=old 2"});
        QVERIFY(QFile::setPermissions(folder.filePath("p-2.png"), QFileDevice::ReadOwner |
                                                                      QFileDevice::WriteOwner |
                                                                      QFileDevice::ReadGroup));
        const QFileDevice::Permissions old = QFileInfo(folder.filePath("p-2.png")).permissions();
        WholeFileSet set(inFolder(folder.path(), {"p-1.png", "p-2.png"}));
        QString reason;
        QVERIFY(set.write(0, "new", &reason));
        QVERIFY(set.write(1, "new", &reason));
        QVERIFY(set.commit(&reason));
        QCOMPARE(QFileInfo(folder.filePath("p-1.png")).permissions(),
                 QFileInfo(folder.filePath("made.png")).permissions());
        QCOMPARE(QFileInfo(folder.filePath("p-2.png")).permissions(), old);
    }

    // A set given up part-way, or dropped, leaves nothing of itself behind.
    void dropped_data() {
        QTest::addColumn<int>("written");
        QTest::newRow("none written") << 0;
        QTest::newRow("one of three") << 1;
        QTest::newRow("all written") << 3;
    }

    void dropped() {
        QFETCH(int, written);
        QTemporaryDir folder;
        create(folder.path(), {"p-2.png=old 2"});
        {
            WholeFileSet set(inFolder(folder.path(), {"p-1.png", "p-2.png", "p-3.png"}),
                             inFolder(folder.path(), {"p-2.png"}));
            QString reason;
            for (int i = 0; i < written; ++i)
                QVERIFY(set.write(i, "new", &reason));
            QVERIFY(written == 3 || !set.commit(&reason));
        }
        QCOMPARE(listing(folder.path()), QStringList{"p-2.png=old 2"});
    }

    // A read-only folder or old file is refused before anything is written; a file that cannot be
    // written fails its write and leaves nothing.
    void readOnly_data() {
        QTest::addColumn<QString>("readOnly"); // "folder" or an entry's name
        QTest::newRow("folder") << "folder";
        QTest::newRow("file to replace") << "p-2.png";
        QTest::newRow("file to remove") << "p-4.png";
    }

    void readOnly() {
        QFETCH(QString, readOnly);
        QTemporaryDir folder;
        create(folder.path(), {"p-2.png=old 2", "p-4.png=old 4"});
        const QString target = readOnly == "folder" ? folder.path() : folder.filePath(readOnly);
        QVERIFY(QFile::setPermissions(target, readOnly == "folder" ? kReadOnlyFolder : kReadOnlyFile));
        if (readOnly == "folder" && !isReadOnlyFolder(folder.path()))
            QSKIP("a folder's read-only attribute is not acted on here");
        WholeFileSet set(inFolder(folder.path(), {"p-1.png", "p-2.png", "p-3.png"}),
                         inFolder(folder.path(), {"p-4.png"}));
        QString reason;
        QVERIFY(!set.mayWrite(&reason));
        QCOMPARE(reason, QStringLiteral("Permission denied"));
        QFile::setPermissions(target, readOnly == "folder" ? kWritableFolder : kWritableFile);
        QCOMPARE(listing(folder.path()), (QStringList{"p-2.png=old 2", "p-4.png=old 4"}));
    }

    // The second file's folder takes no file: its write fails, and what the first wrote goes.
    void writeFails() {
        QTemporaryDir folder;
        create(folder.path(), {"a/", "b/"});
        QVERIFY(QFile::setPermissions(folder.filePath("b"), kReadOnlyFolder));
        if (!isReadOnlyFolder(folder.filePath("b")))
            QSKIP("a folder's read-only attribute is not acted on here");
        {
            WholeFileSet set({folder.filePath("a/p-1.png"), folder.filePath("b/p-2.png")});
            QString reason;
            QVERIFY(set.write(0, "new", &reason));
            QVERIFY(!set.write(1, "new", &reason));
            QVERIFY(!reason.isEmpty());
            QVERIFY(!set.commit(&reason));
        }
        QFile::setPermissions(folder.filePath("b"), kWritableFolder);
        QCOMPARE(listing(folder.filePath("a")), QStringList());
        QCOMPARE(listing(folder.filePath("b")), QStringList());
    }
};

int runWholeFileTests(int argc, char** argv) {
    WholeFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "whole_file_test.moc"
