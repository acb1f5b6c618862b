#include "data_home.h"
#include "download/history_download.h"
#include "history_server.h"
#include "storage/data_folder.h"
#include "storage/error.h"

#include <QFile>
#include <QTcpServer>
#include <QTest>

using namespace dravik;
using dravik::test::HistoryServer;
using dravik::test::HttpResponse;

Q_DECLARE_METATYPE(dravik::test::HttpResponse)

namespace {

const QString kFailed = QStringLiteral("更新好彩1数据失败");
const QByteArray kAccept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
const QByteArray kUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

// Limits short enough that the stall and size cases end quickly; every good page here is far smaller.
constexpr int kTestStallMs = 300;
constexpr qint64 kTestMaxBytes = 16 * 1024;

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(DRAVIK_FIXTURES "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}

// The draws of the two fixture pages, in page order.
const QStringList kGbPageDraws = {"24120.06", "24119.13", "24118.20", "24117.27", "24116.34",
                                  "24115.05", "24114.12", "24113.19", "24112.26", "24111.33"};
const QStringList kUtf8PageDraws = {"24110.04", "24109.15", "24108.26", "24107.01", "24106.12",
                                    "24105.23", "24104.34", "24103.09", "24102.20", "24101.31"};

// A small history page in UTF-8 holding the draws given as "period.number".
QByteArray smallPage(const QStringList& draws) {
    QString rows;
    for (const QString& line : draws) {
        rows += QStringLiteral("<tr><td class=\"qh\">20%1</td><td No=\"%2\"><em>%2</em></td></tr>\n")
                    .arg(line.section('.', 0, 0), line.section('.', 1));
    }
    return (QStringLiteral("<html><body><table>\n") + rows + QStringLiteral("</table></body></html>"))
        .toUtf8();
}

QByteArray fileBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

QStringList sorted(QStringList lines) {
    lines.sort(); // plain draw lines of equal length: character order is record order
    return lines;
}

struct Outcome {
    QStringList messages;
    int pumps = 0;
};

Outcome runDownload(HistoryFetcher& fetcher, const QString& root) {
    Outcome outcome;
    downloadHistory(
        fetcher, root, [&] { ++outcome.pumps; }, [&](const QString& text) { outcome.messages.append(text); });
    return outcome;
}

// The pages of a run in which all four pages hold two draws each.
QStringList goodPageDraws(int page) {
    return {QStringLiteral("2400%1.1%1").arg(page), QStringLiteral("2401%1.2%1").arg(page)};
}

QList<QByteArray> pagePaths(int upTo) {
    QList<QByteArray> paths;
    for (int page = 1; page <= upTo; ++page)
        paths.append(HistoryServer::pagePath(page));
    return paths;
}

} // namespace

class HistoryDownloadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        ensureDataFolder();
        target_ = recordFilePath(kBuiltInArchive);
        QVERIFY(target_.startsWith(home_.path()));
    }

    void init() {
        QFile::setPermissions(target_, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(target_);
        server_ = std::make_unique<HistoryServer>();
        QVERIFY(server_->start());
    }

    void cleanup() {
        server_.reset();
        QFile::setPermissions(target_, QFile::ReadOwner | QFile::WriteOwner);
    }

    void urls() {
        QCOMPARE(defaultSiteRoot(), QStringLiteral("http://www.gdfc.org.cn"));
        QCOMPARE(historyPageUrl(defaultSiteRoot(), 3),
                 QStringLiteral("http://www.gdfc.org.cn/datas/history/haocai/history_3.html"));
    }

    void fetchDecodesDeclaredCharsets() {
        server_->setPage(1, HttpResponse::page(fixture("history_gb2312.html"))); // charset in the meta
        server_->setPage(2, HttpResponse::page(fixture("history_utf8.html"), "text/html; charset=utf-8"));
        HistoryFetcher fetcher;
        for (int page : {1, 2}) {
            const QString text = fetcher.fetchPage(QUrl(historyPageUrl(server_->root(), page)));
            QVERIFY(text.contains(QString::fromUtf8("南粤风采好彩1 历史开奖数据")));
            QVERIFY(text.contains(QString::fromUtf8("<th>期号</th><th>开奖日期</th>")));
        }
    }

    void fetchAcceptsBodyOfExactlyTheLimit() {
        server_->setPage(1, HttpResponse::page(QByteArray(kTestMaxBytes, 'x')));
        HistoryFetcher fetcher;
        fetcher.setLimits(kTestStallMs, kTestMaxBytes);
        QCOMPARE(fetcher.fetchPage(QUrl(historyPageUrl(server_->root(), 1))).size(), kTestMaxBytes);
    }

    void fourGoodPagesReplaceTheFile() {
        writeTarget("99999.99\r\n24120.06\r\n");
        server_->setPage(1, HttpResponse::page(fixture("history_gb2312.html")));
        server_->setPage(2, HttpResponse::page(fixture("history_utf8.html"), "text/html; charset=utf-8"));
        server_->setPage(3, HttpResponse::page(smallPage(goodPageDraws(3))));
        server_->setPage(4, HttpResponse::page(smallPage(goodPageDraws(4))));

        HistoryFetcher fetcher;
        const Outcome outcome = runDownload(fetcher, server_->root());

        QCOMPARE(outcome.messages, QStringList());
        QCOMPARE(outcome.pumps, 24);
        QCOMPARE(server_->requestedPaths(), pagePaths(4));
        QCOMPARE(targetBytes(),
                 fileBytes(sorted(kGbPageDraws + kUtf8PageDraws + goodPageDraws(3) + goodPageDraws(4))));
    }

    void repeatedDrawsAreStoredOnce() {
        server_->setPage(1, HttpResponse::page(smallPage({"24001.05", "24002.06", "24001.05"})));
        server_->setPage(2, HttpResponse::page(smallPage({"24002.06", "24003.07"})));
        server_->setPage(3, HttpResponse::page({}));
        server_->setPage(4, HttpResponse::page(smallPage({"24001.05"})));

        HistoryFetcher fetcher;
        const Outcome outcome = runDownload(fetcher, server_->root());

        QCOMPARE(outcome.messages, QStringList());
        QCOMPARE(outcome.pumps, 6);
        QCOMPARE(targetBytes(), fileBytes({"24001.05", "24002.06", "24003.07"}));
    }

    void failedFetch_data() {
        QTest::addColumn<int>("failingPage");
        QTest::addColumn<HttpResponse>("failure");
        QTest::addColumn<bool>("fileBefore");

        QByteArray large = smallPage(goodPageDraws(1));
        large += QByteArray(kTestMaxBytes, ' ');
        HttpResponse withoutLength = HttpResponse::page(large);
        withoutLength.sendContentLength = false;
        HttpResponse stalledBody = HttpResponse::page(smallPage(goodPageDraws(2)));
        stalledBody.sendOnly = 120; // the status line and some headers, then silence

        QTest::newRow("page 2 answers 500") << 2 << HttpResponse::error(500, "Internal Server Error") << true;
        QTest::newRow("page 1 answers 500") << 1 << HttpResponse::error(500, "Internal Server Error") << true;
        QTest::newRow("page 1 fails, no file")
            << 1 << HttpResponse::error(503, "Service Unavailable") << false;
        QTest::newRow("page 4 answers 404") << 4 << HttpResponse::error(404, "Not Found") << true;
        QTest::newRow("page 3 redirects") << 3 << HttpResponse::redirect("/elsewhere.html") << true;
        QTest::newRow("page 1 redirects") << 1 << HttpResponse::redirect("/elsewhere.html", 301) << true;
        QTest::newRow("page 2 never answers") << 2 << HttpResponse::silent() << true;
        QTest::newRow("page 3 stalls in the answer") << 3 << stalledBody << true;
        QTest::newRow("page 1 too large, by Content-Length") << 1 << HttpResponse::page(large) << true;
        QTest::newRow("page 2 too large, streamed") << 2 << withoutLength << true;
    }

    void failedFetch() {
        QFETCH(int, failingPage);
        QFETCH(HttpResponse, failure);
        QFETCH(bool, fileBefore);

        const QByteArray before = "99999.99\r\n";
        if (fileBefore)
            writeTarget(before);
        for (int page = 1; page <= 4; ++page)
            server_->setPage(page, HttpResponse::page(smallPage(goodPageDraws(page))));
        server_->setPage(failingPage, failure);
        server_->setResponse("/elsewhere.html", HttpResponse::page(smallPage({"23999.01"})));

        HistoryFetcher fetcher;
        fetcher.setLimits(kTestStallMs, kTestMaxBytes);
        const Outcome outcome = runDownload(fetcher, server_->root());

        QCOMPARE(outcome.messages, QStringList{kFailed});
        QCOMPARE(server_->requestedPaths(), pagePaths(failingPage));
        QStringList found;
        for (int page = 1; page < failingPage; ++page)
            found += goodPageDraws(page);
        if (!found.isEmpty())
            QCOMPARE(targetBytes(), fileBytes(sorted(found)));
        else if (fileBefore)
            QCOMPARE(targetBytes(), before);
        else
            QVERIFY(!QFile::exists(target_));
    }

    void noConnection() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QString root = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
        closed.close();

        HistoryFetcher fetcher;
        fetcher.setLimits(kTestStallMs, kTestMaxBytes);
        const Outcome outcome = runDownload(fetcher, root);

        QCOMPARE(outcome.messages, QStringList{kFailed});
        QVERIFY(!QFile::exists(target_));
    }

    void noDrawsLeaveTheFile_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<bool>("fileBefore");

        QTest::newRow("empty pages") << QByteArray() << true;
        QTest::newRow("empty pages, no file") << QByteArray() << false;
        QTest::newRow("pages without markers")
            << QByteArray("<html><body>暂无开奖数据</body></html>") << true;
        QTest::newRow("period markers only") << QByteArray("<td class=\"qh\">2024001</td>") << false;
    }

    void noDrawsLeaveTheFile() {
        QFETCH(QByteArray, page);
        QFETCH(bool, fileBefore);

        const QByteArray before = "99999.99\r\n";
        if (fileBefore)
            writeTarget(before);
        for (int n = 1; n <= 4; ++n)
            server_->setPage(n, HttpResponse::page(page, "text/html; charset=utf-8"));

        HistoryFetcher fetcher;
        const Outcome outcome = runDownload(fetcher, server_->root());

        QCOMPARE(outcome.messages, QStringList());
        QCOMPARE(outcome.pumps, 0);
        QCOMPARE(server_->requestedPaths(), pagePaths(4));
        if (fileBefore)
            QCOMPARE(targetBytes(), before);
        else
            QVERIFY(!QFile::exists(target_));
    }

    void cookieOfPage1ComesWithPage2() {
        server_->setPage(
            1,
            HttpResponse::page(smallPage(goodPageDraws(1))).withHeader("Set-Cookie", "sid=a1b2c3; Path=/"));
        for (int page = 2; page <= 4; ++page)
            server_->setPage(page, HttpResponse::page(smallPage(goodPageDraws(page))));

        HistoryFetcher fetcher;
        runDownload(fetcher, server_->root());

        const auto& requests = server_->requests();
        QCOMPARE(requests.size(), 4);
        QCOMPARE(requests[0].headerCount("Cookie"), 0);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(requests[i].header("Cookie"), QByteArray("sid=a1b2c3"));
    }

    void requestsCarryTheExactHeaders() {
        for (int page = 1; page <= 4; ++page)
            server_->setPage(page, HttpResponse::page(smallPage(goodPageDraws(page))));

        HistoryFetcher fetcher;
        runDownload(fetcher, server_->root());

        QCOMPARE(server_->requests().size(), 4);
        for (const auto& request : server_->requests()) {
            QCOMPARE(request.method, QByteArray("GET"));
            QCOMPARE(request.version, QByteArray("HTTP/1.1"));
            QCOMPARE(request.headerCount("Accept"), 1);
            QCOMPARE(request.header("Accept"), kAccept);
            QCOMPARE(request.headerCount("User-Agent"), 1);
            QCOMPARE(request.header("User-Agent"), kUserAgent);
            QCOMPARE(request.header("Host"), server_->root().mid(7).toUtf8());
        }
    }

    void readOnlyTargetRaisesOnceAndKeepsTheFile() {
        const QByteArray before = "99999.99\r\n24120.06\r\n";
        writeTarget(before);
        QVERIFY(QFile::setPermissions(target_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        for (int page = 1; page <= 4; ++page)
            server_->setPage(page, HttpResponse::page(smallPage(goodPageDraws(page))));

        HistoryFetcher fetcher;
        QStringList messages;
        int raised = 0;
        try {
            downloadHistory(
                fetcher, server_->root(), [] {}, [&](const QString& text) { messages.append(text); });
        } catch (const Error& error) {
            ++raised;
            QVERIFY(error.message().startsWith(QStringLiteral("Cannot create file \"%1\"").arg(target_)));
        }
        QCOMPARE(raised, 1);
        QCOMPARE(messages, QStringList());
        QCOMPARE(server_->requests().size(), 4);
        QCOMPARE(targetBytes(), before);
    }

private:
    void writeTarget(const QByteArray& bytes) {
        QFile file(target_);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray targetBytes() const {
        QFile file(target_);
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        return file.readAll();
    }

    test::TempDataHome home_;
    QString target_;
    std::unique_ptr<HistoryServer> server_;
};

QTEST_GUILESS_MAIN(HistoryDownloadTest)
#include "history_download_test.moc"
