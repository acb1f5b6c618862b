#include "download/history_fetcher.h"

#include "download/page_text.h"
#include "storage/error.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>

namespace dravik {

namespace {

const QByteArray kAccept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
const QByteArray kUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

} // namespace

HistoryFetcher::HistoryFetcher(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this)) {
    manager_->setCookieJar(new QNetworkCookieJar(manager_));
    manager_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

void HistoryFetcher::setLimits(int stallMs, qint64 maxBytes) {
    stallMs_ = stallMs;
    maxBytes_ = maxBytes;
}

QString HistoryFetcher::fetchPage(const QUrl& url) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setRawHeader("Accept", kAccept);
    request.setRawHeader("User-Agent", kUserAgent);

    const std::unique_ptr<QNetworkReply> reply(manager_->get(request));
    QByteArray body;
    QString failure;
    QEventLoop loop;
    QTimer stall;
    stall.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the limit is a promise of at least that much patience.
    stall.setTimerType(Qt::PreciseTimer);
    stall.setInterval(stallMs_);

    const auto fail = [&](const QString& why) {
        if (failure.isEmpty())
            failure = why;
        reply->abort();
    };
    const auto tooLarge = [&] {
        fail(QStringLiteral("The page %1 is larger than %2 bytes").arg(url.toString()).arg(maxBytes_));
    };
    connect(&stall, &QTimer::timeout, &loop, [&] {
        fail(QStringLiteral("No answer from %1 within %2 ms").arg(url.toString()).arg(stallMs_));
    });
    connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        stall.start();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes_)
            tooLarge();
    });
    connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        stall.start();
        body += reply->readAll();
        if (body.size() > maxBytes_)
            tooLarge();
    });
    connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&] { stall.start(); });
    connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    if (!reply->isFinished()) {
        stall.start();
        loop.exec();
    }
    stall.stop();
    if (!failure.isEmpty())
        throw Error(failure);

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        throw Error(QStringLiteral("%1 answered %2 %3")
                        .arg(url.toString())
                        .arg(status.toInt())
                        .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    }
    if (reply->error() != QNetworkReply::NoError || !status.isValid())
        throw Error(reply->errorString());
    body += reply->readAll();
    if (body.size() > maxBytes_)
        tooLarge();
    if (!failure.isEmpty())
        throw Error(failure);
    return decodePageText(body, reply->rawHeader("Content-Type"));
}

} // namespace dravik
