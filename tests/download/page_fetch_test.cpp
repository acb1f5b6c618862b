#include "download/page_fetch.h"
#include "history_server.h"
#include "history_table_page.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace dravik;
using dravik::test::HistoryServer;
using dravik::test::historyTableLines;
using dravik::test::HttpResponse;
using dravik::test::LotteryDraw;
using dravik::test::lotteryDraws;
using dravik::test::PageCharset;

Q_DECLARE_METATYPE(dravik::test::HttpResponse)

namespace {

const QString kBadAddress = QStringLiteral("网址须以http://或https://开头");

// Short enough that the page that never answers ends the test quickly.
constexpr int kTestTimeLimitMs = 500;

QStringList splitLines(const QByteArray& text) {
    QStringList lines = QString::fromUtf8(text).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line end
    return lines;
}

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        qFatal("no free port");
    return server.serverPort();
}

} // namespace

class PageFetchTest : public QObject {
    Q_OBJECT

private slots:
    void addressProblem_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("http") << QStringLiteral("http://example.com/kj/ssq.html") << true;
        QTest::newRow("https, port, query") << QStringLiteral("https://127.0.0.1:8443/a?b=1#c") << true;
        QTest::newRow("upper-case scheme, blanks around") << QStringLiteral("  HTTP://Example.com  ") << true;
        QTest::newRow("Chinese path") << QStringLiteral("http://example.com/双色球.html") << true;
        QTest::newRow("ftp") << QStringLiteral("ftp://example.com/history.txt") << false;
        QTest::newRow("file") << QStringLiteral("file:///home/user/history.html") << false;
        QTest::newRow("no scheme") << QStringLiteral("www.example.com/history.html") << false;
        QTest::newRow("no host") << QStringLiteral("http:///history.html") << false;
        QTest::newRow("scheme only") << QStringLiteral("https://") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void addressProblem() {
        QFETCH(QString, address);
        QFETCH(bool, accepted);
        QCOMPARE(pageAddressProblem(address), accepted ? QString() : kBadAddress);
    }

    void pages_data() {
        QTest::addColumn<HttpResponse>("response");
        QTest::addColumn<QStringList>("lines");

        const QList<LotteryDraw> draws = lotteryDraws(300);
        QTest::newRow("GBK history table")
            << HttpResponse::page(historyTablePage(draws, PageCharset::Gbk), "text/html; charset=GBK")
            << historyTableLines(draws);
        QTest::newRow("UTF-8 history table, meta charset only")
            << HttpResponse::page(historyTablePage(draws, PageCharset::Utf8), "text/html")
            << historyTableLines(draws);
        QTest::newRow("CSV") << HttpResponse::page(historyCsv(draws), "text/csv")
                             << splitLines(historyCsv(draws));
        QTest::newRow("plain text") << HttpResponse::page(historyText(draws), "text/plain; charset=utf-8")
                                    << splitLines(historyText(draws));
        QTest::newRow("without Content-Length") << [&] {
            HttpResponse response = HttpResponse::page(historyText(draws), "text/plain");
            response.sendContentLength = false;
            return response;
        }() << splitLines(historyText(draws));
        const QList<LotteryDraw> many = lotteryDraws(5000);
        QTest::newRow("5,000 rows") << HttpResponse::page(historyTablePage(many, PageCharset::Gbk),
                                                          "text/html; charset=gbk")
                                    << historyTableLines(many);
        QByteArray atLimit = "2024001 16\r\n";
        atLimit += QByteArray(PageFetch::kMaxBytes - atLimit.size(), ' ');
        QTest::newRow("8 MiB exactly") << HttpResponse::page(atLimit, "text/plain")
                                       << QStringList{"2024001 16", QString(PageFetch::kMaxBytes - 12, u' ')};
    }

    void pages() {
        QFETCH(HttpResponse, response);
        QFETCH(QStringList, lines);
        HistoryServer server;
        QVERIFY(server.start());
        server.setResponse("/kj/ssq.html", response);

        PageFetch fetch;
        QSignalSpy finished(&fetch, &PageFetch::finished);
        fetch.start(server.root() + "/kj/ssq.html");
        QVERIFY(fetch.isRunning());
        QCOMPARE(finished.count(), 0); // asynchronous
        fetch.waitForFinished();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!fetch.isRunning());
        QCOMPARE(fetch.outcome().reason, QString());
        QCOMPARE(fetch.outcome().status, PageOutcome::Status::Read);
        QCOMPARE(fetch.outcome().lines.size(), lines.size());
        QCOMPARE(fetch.outcome().lines, lines);

        // What was asked: no credentials, no cookies. (Qt asks again when a connection seems to close
        // before the answer, as one without Content-Length may.)
        QVERIFY(!server.requests().isEmpty());
        for (const dravik::test::HttpRequest& request : server.requests()) {
            QCOMPARE(request.method, QByteArray("GET"));
            QCOMPARE(request.headerCount("Authorization"), 0);
            QCOMPARE(request.headerCount("Cookie"), 0);
        }
    }

    void failures_data() {
        QTest::addColumn<HttpResponse>("response");
        QTest::addColumn<QString>("reason");

        QByteArray overLimit(PageFetch::kMaxBytes + 1, 'x');
        QTest::newRow("404") << HttpResponse::error(404, "Not Found") << QStringLiteral("HTTP 404");
        QTest::newRow("500") << HttpResponse::error(500, "Internal Server Error")
                             << QStringLiteral("HTTP 500");
        QTest::newRow("over 8 MiB, said in advance")
            << HttpResponse::page(overLimit, "text/plain") << QStringLiteral("页面超过8 MiB");
        QTest::newRow("over 8 MiB, found out") << [&] {
            HttpResponse response = HttpResponse::page(overLimit, "text/plain");
            response.sendContentLength = false;
            return response;
        }() << QStringLiteral("页面超过8 MiB");
        QTest::newRow("never answers") << HttpResponse::silent() << QStringLiteral("超时");
        QTest::newRow("answers half") << [] {
            HttpResponse response = HttpResponse::page(QByteArray(4000, 'x'), "text/plain");
            response.sendOnly = 2000;
            return response;
        }() << QStringLiteral("超时");
        QTest::newRow("an image") << HttpResponse::page("\x89PNG\r\n\x1a\n", "image/png")
                                  << QStringLiteral("不是文本页面");
        QTest::newRow("octet stream")
            << HttpResponse::page("2024001 16", "application/octet-stream") << QStringLiteral("不是文本页面");
        QTest::newRow("redirect to ftp") << HttpResponse::redirect("ftp://127.0.0.1/history.txt")
                                         << QStringLiteral("重定向到非http(s)网址");
        QTest::newRow("redirect to a file")
            << HttpResponse::redirect("file:///etc/passwd", 301) << QStringLiteral("重定向到非http(s)网址");
        QTest::newRow("redirect to itself")
            << HttpResponse::redirect("/kj/ssq.html", 307) << QStringLiteral("重定向次数过多");
        QTest::newRow("redirect nowhere") << [] {
            HttpResponse response = HttpResponse::error(302, "Found");
            return response;
        }() << QStringLiteral("HTTP 302");
        QTest::newRow("asks for a password")
            << HttpResponse::error(401, "Unauthorized").withHeader("WWW-Authenticate", "Basic realm=\"kj\"")
            << QStringLiteral("HTTP 401");
    }

    void failures() {
        QFETCH(HttpResponse, response);
        QFETCH(QString, reason);
        HistoryServer server;
        QVERIFY(server.start());
        server.setResponse("/kj/ssq.html", response);

        PageFetch fetch(kTestTimeLimitMs);
        QSignalSpy finished(&fetch, &PageFetch::finished);
        QElapsedTimer clock;
        clock.start();
        fetch.start(QStringLiteral("http://user:secret@") + server.root().mid(7) + "/kj/ssq.html");
        fetch.waitForFinished();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(fetch.outcome().status, PageOutcome::Status::Failed);
        QCOMPARE(fetch.outcome().reason, reason);
        QVERIFY(fetch.outcome().lines.isEmpty());
        if (reason == QStringLiteral("超时"))
            QVERIFY(clock.elapsed() >= kTestTimeLimitMs);
        for (const dravik::test::HttpRequest& request : server.requests())
            QCOMPARE(request.headerCount("Authorization"), 0);
    }

    // At most five redirects, each followed wherever on http(s) it leads; the time limit holds for all.
    void redirects_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("reason");
        QTest::newRow("one") << 1 << QString();
        QTest::newRow("five") << 5 << QString();
        QTest::newRow("six") << 6 << QStringLiteral("重定向次数过多");
    }

    void redirects() {
        QFETCH(int, count);
        QFETCH(QString, reason);
        HistoryServer server;
        QVERIFY(server.start());
        const int statuses[] = {301, 302, 303, 307, 308};
        for (int i = 0; i < count; ++i) {
            const QByteArray next = "/r" + QByteArray::number(i + 1);
            // Absolute and relative targets in turn.
            server.setResponse(
                "/r" + QByteArray::number(i),
                HttpResponse::redirect(i % 2 ? next : server.root().toUtf8() + next, statuses[i % 5])
                    .withHeader("Set-Cookie", "visit=" + QByteArray::number(i)));
        }
        server.setResponse("/r" + QByteArray::number(count), HttpResponse::page("2024001 16", "text/plain"));

        const PageOutcome outcome = PageFetch::read(server.root() + "/r0");
        QCOMPARE(outcome.reason, reason);
        QCOMPARE(outcome.status, reason.isEmpty() ? PageOutcome::Status::Read : PageOutcome::Status::Failed);
        if (reason.isEmpty())
            QCOMPARE(outcome.lines, QStringList{"2024001 16"});
        QCOMPARE(server.requests().size(), std::min(count + 1, PageFetch::kMaxRedirects + 1));
    }

    // Cookies live as long as one fetch: a second fetch sends none.
    void noCookiesKept() {
        HistoryServer server;
        QVERIFY(server.start());
        server.setResponse(
            "/kj/ssq.html",
            HttpResponse::page("1", "text/plain").withHeader("Set-Cookie", "session=abc; Path=/"));
        PageFetch fetch;
        for (int i = 0; i < 2; ++i) {
            fetch.start(server.root() + "/kj/ssq.html");
            fetch.waitForFinished();
            QCOMPARE(fetch.outcome().status, PageOutcome::Status::Read);
        }
        QCOMPARE(server.requests().size(), 2);
        QCOMPARE(server.requests()[1].headerCount("Cookie"), 0);
    }

    void connectionRefused() {
        const PageOutcome outcome = PageFetch::read(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()));
        QCOMPARE(outcome.status, PageOutcome::Status::Failed);
        QCOMPARE(outcome.reason, QStringLiteral("连接被拒绝"));
    }

    void badAddress() {
        PageFetch fetch;
        QSignalSpy finished(&fetch, &PageFetch::finished);
        fetch.start(QStringLiteral("ftp://127.0.0.1/history.txt"));
        QCOMPARE(finished.count(), 0); // after start() has returned, as every outcome
        QVERIFY(fetch.isRunning());
        fetch.waitForFinished();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(fetch.outcome().status, PageOutcome::Status::Failed);
        QCOMPARE(fetch.outcome().reason, kBadAddress);
    }

    // 停止 abandons the fetch at once; the server's later answer changes nothing.
    void stop() {
        HistoryServer server;
        QVERIFY(server.start());
        server.setResponse("/slow", HttpResponse::silent());
        PageFetch fetch;
        QSignalSpy finished(&fetch, &PageFetch::finished);
        fetch.start(server.root() + "/slow");
        QTRY_COMPARE(server.requests().size(), 1);
        fetch.stop();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!fetch.isRunning());
        QCOMPARE(fetch.outcome().status, PageOutcome::Status::Stopped);
        fetch.stop();
        fetch.waitForFinished();
        QCOMPARE(finished.count(), 1);

        // A bad address stopped before its failure is told: only the stop counts.
        fetch.start(QStringLiteral("nothing"));
        fetch.stop();
        QTest::qWait(50);
        QCOMPARE(finished.count(), 2);
        QCOMPARE(fetch.outcome().status, PageOutcome::Status::Stopped);
    }

    // A new start stops the fetch that runs; the new one is read.
    void startAgain() {
        HistoryServer server;
        QVERIFY(server.start());
        server.setResponse("/slow", HttpResponse::silent());
        server.setResponse("/page", HttpResponse::page("x", "text/plain"));
        PageFetch fetch;
        QList<PageOutcome::Status> told;
        connect(&fetch, &PageFetch::finished, this, [&] { told.append(fetch.outcome().status); });
        fetch.start(server.root() + "/slow");
        fetch.start(server.root() + "/page");
        QCOMPARE(told, QList{PageOutcome::Status::Stopped});
        QVERIFY(fetch.isRunning());
        fetch.waitForFinished();
        QCOMPARE(told, (QList{PageOutcome::Status::Stopped, PageOutcome::Status::Read}));
        QCOMPARE(fetch.outcome().lines, QStringList{"x"});
    }
};

QTEST_GUILESS_MAIN(PageFetchTest)
#include "page_fetch_test.moc"
