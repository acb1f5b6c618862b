#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

namespace dravik {

// The program's HTTP client: plain GETs over HTTP/1.1 with the operator site's expected
// Accept and User-Agent headers, no proxy, redirects not followed, and an in-memory cookie store that
// lives as long as the fetcher, so later pages carry the cookies earlier ones set. A fetch waits in a
// local event loop, which lets the GUI thread's pending events through meanwhile.
class HistoryFetcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultStallMs = 10'000;
    static constexpr qint64 kDefaultMaxBytes = qint64{8} * 1024 * 1024;

    explicit HistoryFetcher(QObject* parent = nullptr);

    // A fetch fails after `stallMs` without any progress (connecting or receiving), and as soon as the
    // body exceeds `maxBytes`.
    void setLimits(int stallMs, qint64 maxBytes);

    // The decoded page text. Raises dravik::Error when the fetch fails: no connection, a status other
    // than 2xx (redirects included), a stall, an over-large body, or a broken transfer.
    QString fetchPage(const QUrl& url);

private:
    QNetworkAccessManager* manager_;
    int stallMs_ = kDefaultStallMs;
    qint64 maxBytes_ = kDefaultMaxBytes;
};

} // namespace dravik
