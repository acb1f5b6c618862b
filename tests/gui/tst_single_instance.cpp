// One program per data folder: the real program started twice on the same temporary data folder (its
// history download served from a loopback server), a start against a window of this test, and a start
// after an instance was killed and left its lock and socket behind.
#include "app/single_instance.h"
#include "gui_harness.h"
#include "history_server.h"
#include "storage/data_folder.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QWidget>
#include <csignal>
#include <vector>

using namespace dravik;
using namespace dravik::test;

namespace {

// Generous limits for a start under the sanitizers on a busy machine; nothing here is a timing check.
constexpr int kStartLimitMs = 60000;

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DataHome> home;
    std::unique_ptr<HistoryServer> server;
    std::vector<std::unique_ptr<QProcess>> programs;

    // Starts the real program on the test's data folder; it inherits XDG_DATA_HOME.
    QProcess* launch() {
        programs.push_back(std::make_unique<QProcess>());
        QProcess* program = programs.back().get();
        program->setProgram(QStringLiteral(DRAVIK_PROGRAM));
        program->setProcessChannelMode(QProcess::ForwardedChannels);
        program->start();
        return program;
    }

    // The number of history pages the loopback server was asked for: four per start that got past
    // the lock and ran its download.
    int pagesRequested() const { return int(server->requestedPaths().size()); }

private slots:
    void init() {
        home = std::make_unique<DataHome>();
        QVERIFY(home->isValid());
        server = std::make_unique<HistoryServer>();
        QVERIFY(server->start());
        for (int page = 1; page <= 4; ++page)
            server->setPage(page, HttpResponse::page("<html><body>no draws</body></html>"));
        // A history of its own and the loopback site: every start runs clean, without a message box.
        writeFile(home->dataFolder() + kBuiltInArchive + QStringLiteral(".dat"),
                  recordFileBytes(workedExampleLines()));
        writeFile(home->dataFolder() + QStringLiteral("set.ini"),
                  QStringLiteral("[runtime]\r\ncount=1\r\n[dravik]\r\nname=%1\r\n[download]\r\nsite=%2\r\n")
                      .arg(kBuiltInArchive, server->root())
                      .toUtf8());
    }

    void cleanup() {
        for (const auto& program : programs) {
            if (program->state() != QProcess::NotRunning) {
                program->kill();
                program->waitForFinished();
            }
        }
        programs.clear();
        server.reset();
        home.reset();
    }

    void secondStartBringsFirstForwardAndExits() {
        QProcess* first = launch();
        // Once its download has run, a start holds the lock and listens.
        QTRY_COMPARE_WITH_TIMEOUT(pagesRequested(), 4, kStartLimitMs);

        QProcess* second = launch();
        QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, kStartLimitMs);
        // Exit code 0 comes only with the running instance's answer to the request.
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        // The second start never got as far as a window: it fetched nothing.
        QCOMPARE(pagesRequested(), 4);
        QVERIFY(QFile::exists(SingleInstance::lockFilePath(home->dataFolder())));
    }

    void requestBringsWindowForward_data() {
        QTest::addColumn<bool>("shown");
        QTest::newRow("minimised window") << true;
        QTest::newRow("window not shown yet") << false;
    }

    void requestBringsWindowForward() {
        QFETCH(bool, shown);
        SingleInstance instance;
        QCOMPARE(instance.start(), SingleInstance::Start::Primary);
        QSignalSpy requests(&instance, &SingleInstance::forwardRequested);
        QWidget window;
        instance.setWindow(&window);
        if (shown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.showMinimized();
        }

        QProcess* later = launch();
        QTRY_COMPARE_WITH_TIMEOUT(later->state(), QProcess::NotRunning, kStartLimitMs);
        QCOMPARE(later->exitCode(), 0);
        QCOMPARE(requests.count(), 1);
        QCOMPARE(window.isVisible(), shown);
        if (shown)
            QVERIFY(!(window.windowState() & Qt::WindowMinimized));
        QCOMPARE(pagesRequested(), 0);
    }

    void killedInstanceDoesNotBlockTheNextStart() {
        QProcess* killed = launch();
        // Once its download has run, a start holds the lock and listens.
        QTRY_COMPARE_WITH_TIMEOUT(pagesRequested(), 4, kStartLimitMs);
        killed->kill();
        QTRY_COMPARE_WITH_TIMEOUT(killed->state(), QProcess::NotRunning, kStartLimitMs);
        // Its lock file is left behind, naming a process that is gone.
        QVERIFY(QFile::exists(SingleInstance::lockFilePath(home->dataFolder())));

        QProcess* next = launch();
        QTRY_COMPARE_WITH_TIMEOUT(pagesRequested(), 8, kStartLimitMs);
        QCOMPARE(next->state(), QProcess::Running);

        // The new instance listens in place of the killed one's socket.
        QProcess* later = launch();
        QTRY_COMPARE_WITH_TIMEOUT(later->state(), QProcess::NotRunning, kStartLimitMs);
        QCOMPARE(later->exitCode(), 0);
        QCOMPARE(pagesRequested(), 8);
    }

    // A running copy that takes the request but never answers (stopped here): the later start gives
    // up after its wait; what it then does is endOfLaterStart's (below).
    void stoppedCopyLeavesStartUnanswered() {
        QProcess* first = launch();
        // Once its download has run, a start holds the lock and listens.
        QTRY_COMPARE_WITH_TIMEOUT(pagesRequested(), 4, kStartLimitMs);
        const qint64 pid = first->processId();
        QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        const auto resume = qScopeGuard([pid] { ::kill(pid_t(pid), SIGCONT); });
        SingleInstance later;
        QCOMPARE(later.start(1000), SingleInstance::Start::Unanswered);
    }

    void endOfLaterStart_data() {
        QTest::addColumn<SingleInstance::Start>("start");
        QTest::addColumn<int>("exitCode"); // -1: the start goes on
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("the one instance") << SingleInstance::Start::Primary << -1 << QStringList();
        QTest::newRow("running copy came forward") << SingleInstance::Start::Forwarded << 0 << QStringList();
        QTest::newRow("running copy gave no answer")
            << SingleInstance::Start::Unanswered << 1
            << QStringList{QStringLiteral("Dravik已在运行，但没有响应。")};
    }

    void endOfLaterStart() {
        QFETCH(SingleInstance::Start, start);
        QFETCH(int, exitCode);
        QFETCH(QStringList, boxes);
        dialogs::Script script;
        QCOMPARE(dravik::endOfLaterStart(start).value_or(-1), exitCode);
        QCOMPARE(script.texts(), boxes);
    }

    void serverNameFollowsDataFolder() {
        const QString name = SingleInstance::serverName(QStringLiteral("/home/a/.local/share/Dravik/"));
        QCOMPARE(SingleInstance::serverName(QStringLiteral("/home/a/.local/share/Dravik/")), name);
        QVERIFY(SingleInstance::serverName(QStringLiteral("/home/b/.local/share/Dravik/")) != name);
        QVERIFY(name.toUtf8().size() <= 100);
    }
};

DRAVIK_GUI_TEST_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
