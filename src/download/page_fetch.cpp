#include "download/page_fetch.h"

#include "download/page_lines.h"
#include "storage/error.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace dravik {

namespace {

const QByteArray kAccept = "text/html,application/xhtml+xml,text/plain;q=0.9,text/csv;q=0.9,*/*;q=0.8";
const QByteArray kUserAgent = "Mozilla/5.0 (compatible; Dravik)";

bool isWebScheme(const QUrl& url) {
    return (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QString httpStatus(int status) {
    return QStringLiteral("HTTP %1").arg(status);
}

QString tooLarge() {
    return QStringLiteral("页面超过%1 MiB").arg(PageFetch::kMaxBytes / (1024 * 1024));
}

QString reasonOf(const QNetworkReply& reply) {
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("连接被拒绝");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("连接被服务器关闭");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("找不到服务器");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("超时");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("安全连接失败");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return QStringLiteral("网络不可用");
    default:
        return QStringLiteral("网络错误：") + reply.errorString();
    }
}

// The address as it is requested: credentials are never sent.
QUrl withoutCredentials(QUrl url) {
    url.setUserInfo(QString());
    return url;
}

} // namespace

QString pageAddressProblem(const QString& address) {
    if (!isWebScheme(QUrl(address.trimmed())))
        return QStringLiteral("网址须以http://或https://开头");
    return {};
}

PageFetch::PageFetch(int timeLimitMs, QObject* parent) : QObject(parent), timeLimitMs_(timeLimitMs) {
    timeLimit_.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the limit is a promise of at least that much patience.
    timeLimit_.setTimerType(Qt::PreciseTimer);
    connect(&timeLimit_, &QTimer::timeout, this, [this] { fail(QStringLiteral("超时")); });
}

PageFetch::~PageFetch() {
    // Quietly: a fetch that is dropped has nobody left to tell.
    running_ = false;
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void PageFetch::start(const QString& address) {
    stop();
    outcome_ = {};
    running_ = true;
    const quint64 fetch = ++fetches_;
    const QString problem = pageAddressProblem(address);
    if (!problem.isEmpty()) {
        // As any other failure, after start() has returned.
        QTimer::singleShot(0, this, [this, fetch, problem] {
            if (fetch == fetches_)
                fail(problem);
        });
        return;
    }
    // Each fetch its own cookie store, gone with it.
    manager_ = new QNetworkAccessManager(this);
    manager_->setCookieJar(new QNetworkCookieJar(manager_));
    manager_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    manager_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    redirects_ = 0;
    timeLimit_.start(timeLimitMs_);
    get(withoutCredentials(QUrl(address.trimmed())));
}

void PageFetch::stop() {
    end(PageOutcome::Status::Stopped, QStringLiteral("已停止"));
}

void PageFetch::waitForFinished() {
    if (!running_)
        return;
    QEventLoop loop;
    connect(this, &PageFetch::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

PageOutcome PageFetch::read(const QString& address, int timeLimitMs) {
    PageFetch fetch(timeLimitMs);
    fetch.start(address);
    fetch.waitForFinished();
    return fetch.outcome();
}

void PageFetch::get(const QUrl& url) {
    QNetworkRequest request(url);
    // Redirects are followed here, each checked; a server asking for credentials gets none.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setRawHeader("Accept", kAccept);
    request.setRawHeader("User-Agent", kUserAgent);
    body_.clear();
    reply_ = manager_->get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &PageFetch::onMetaData);
    connect(reply_, &QNetworkReply::readyRead, this, &PageFetch::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &PageFetch::onReplyFinished);
}

void PageFetch::onMetaData() {
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || status.toInt() < 200 || status.toInt() > 299)
        return;
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > kMaxBytes)
        fail(tooLarge());
    else if (!mayBeTextPage(reply_->rawHeader("Content-Type")))
        fail(QStringLiteral("不是文本页面"));
}

void PageFetch::onReadyRead() {
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QByteArray bytes = reply_->readAll();
    // The body of a redirect or an error page is not the page.
    if (status.toInt() < 200 || status.toInt() > 299)
        return;
    body_ += bytes;
    if (body_.size() > kMaxBytes)
        fail(tooLarge());
}

void PageFetch::onReplyFinished() {
    QNetworkReply& reply = *reply_;
    const QVariant statusAttribute = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!statusAttribute.isValid())
        return fail(reasonOf(reply));
    const int status = statusAttribute.toInt();
    if (isRedirect(status)) {
        const QByteArray location = reply.rawHeader("Location");
        if (location.isEmpty())
            return fail(httpStatus(status));
        const QUrl target = reply.url().resolved(QUrl::fromEncoded(location));
        if (!isWebScheme(target))
            return fail(QStringLiteral("重定向到非http(s)网址"));
        if (++redirects_ > kMaxRedirects)
            return fail(QStringLiteral("重定向次数过多"));
        reply.disconnect(this);
        reply.deleteLater();
        return get(withoutCredentials(target));
    }
    if (status < 200 || status > 299)
        return fail(httpStatus(status));
    if (reply.error() != QNetworkReply::NoError)
        return fail(reasonOf(reply));
    onReadyRead();
    if (!running_)
        return;
    try {
        const std::optional<QStringList> lines = readPageLines(body_, reply.rawHeader("Content-Type"));
        if (!lines)
            return fail(QStringLiteral("不是文本页面"));
        end(PageOutcome::Status::Read, QString(), *lines);
    } catch (const Error& error) {
        fail(error.message());
    }
}

void PageFetch::fail(const QString& reason) {
    end(PageOutcome::Status::Failed, reason);
}

void PageFetch::end(PageOutcome::Status status, const QString& reason, const QStringList& lines) {
    if (!running_)
        return;
    running_ = false;
    timeLimit_.stop();
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
    if (manager_) {
        // The replies and the cookies go with it.
        manager_->deleteLater();
        manager_ = nullptr;
    }
    body_ = QByteArray();
    outcome_ = {status, lines, reason};
    emit finished();
}

} // namespace dravik
