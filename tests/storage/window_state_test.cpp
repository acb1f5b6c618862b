// window.ini: the window's place kept between runs, read back only as a whole, and never written into
// a file that is something else (the settings file of an archive named "window").
#include "storage/data_folder.h"
#include "storage/window_state.h"
#include "test_support.h"

#include <QTest>

using namespace dravik;
using namespace dravik::test;

class WindowStateTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        home_ = std::make_unique<TempDataHome>();
        QVERIFY(home_->isValid());
        ensureDataFolder();
    }
    void cleanup() { home_.reset(); }

    void path() { QCOMPARE(windowStatePath(), dataFolder() + "window.ini"); }

    void nothingKept() { QVERIFY(!loadWindowState()); }

    void keptAndReadBack_data() {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("normal") << QRect(30, 40, 700, 900) << false;
        QTest::newRow("maximised") << QRect(419, 129, 442, 766) << true;
        QTest::newRow("left of the primary screen") << QRect(-1500, -20, 600, 800) << false;
    }

    void keptAndReadBack() {
        QFETCH(QRect, geometry);
        QFETCH(bool, maximized);
        saveWindowState({geometry, maximized});
        const std::optional<WindowState> kept = loadWindowState();
        QVERIFY(kept);
        QCOMPARE(kept->geometry, geometry);
        QCOMPARE(kept->maximized, maximized);
        // A second save replaces the first.
        saveWindowState({QRect(1, 2, 500, 800), !maximized});
        QCOMPARE(loadWindowState()->geometry, QRect(1, 2, 500, 800));
        QCOMPARE(loadWindowState()->maximized, !maximized);
    }

    // Written as a person can read and edit it (in the order QSettings keeps, which differs between
    // the platforms).
    void fileText() {
        saveWindowState({QRect(30, 40, 700, 900), true});
        QList<QByteArray> lines = readBytes(windowStatePath()).replace("\r\n", "\n").split('\n');
        QCOMPARE(lines.takeFirst(), QByteArray("[window]"));
        std::sort(lines.begin(), lines.end());
        QCOMPARE(lines,
                 (QList<QByteArray>{"", "height=900", "left=30", "maximized=true", "top=40", "width=700"}));
    }

    void notAPlace_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no size") << QByteArray("[window]\nleft=1\ntop=2\n");
        QTest::newRow("not a number") << QByteArray("[window]\nleft=1\ntop=2\nwidth=wide\nheight=800\n");
        QTest::newRow("no width") << QByteArray("[window]\nleft=1\ntop=2\nwidth=0\nheight=800\n");
        QTest::newRow("negative height") << QByteArray("[window]\nleft=1\ntop=2\nwidth=500\nheight=-8\n");
        QTest::newRow("another group") << QByteArray("[dravik]\nname=window\n[window]\nleft=1\ntop=2\n"
                                                     "width=500\nheight=800\n");
    }

    void notAPlace() {
        QFETCH(QByteArray, file);
        QVERIFY(writeBytes(windowStatePath(), file));
        QVERIFY(!loadWindowState());
    }

    // The settings file of an archive named "window" is window.ini: the window neither reads its
    // place from it nor rewrites it (QSettings would rewrite it whole, in its own order and encoding).
    void archiveNamedWindowLeftAlone() {
        const QByteArray settings =
            gb18030(QStringLiteral("[dravik]\r\nname=window\r\n[math]\r\nX=36\r\nA=6\r\n"
                                   "B=6\r\nC=0\r\n[from]\r\nr1=1\r\n[备注]\r\n说明=窗口\r\n"));
        QVERIFY(writeBytes(windowStatePath(), settings));
        QVERIFY(!loadWindowState());
        saveWindowState({QRect(30, 40, 700, 900), false});
        QCOMPARE(readBytes(windowStatePath()), settings);
    }

    // The global settings file is not touched.
    void globalSettingsUntouched() {
        const QByteArray global("[runtime]\r\ncount=3\r\n[dravik]\r\nname=a\r\n");
        QVERIFY(writeBytes(globalSettingsPath(), global));
        saveWindowState({QRect(30, 40, 700, 900), false});
        QCOMPARE(readBytes(globalSettingsPath()), global);
    }

private:
    std::unique_ptr<TempDataHome> home_;
};

int runWindowStateTests(int argc, char** argv) {
    WindowStateTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_state_test.moc"
