#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace dravik {

// Empty when the address names a page that may be read (http or https, with a host), else the text
// that says what is wrong: "网址须以http://或https://开头". Blanks around it do not count.
QString pageAddressProblem(const QString& address);

// What a page fetch came to.
struct PageOutcome {
    enum class Status {
        None, // no fetch has finished yet
        Read,
        Failed,
        Stopped,
    };
    Status status = Status::None;
    QStringList lines; // Read: the page's lines (page_lines.h)
    // Failed: why, in words for "读取失败：REASON": "网址须以http://或https://开头", "HTTP 404" (any
    // status but 2xx and a followed redirect), "超时", "页面超过8 MiB", "不是文本页面",
    // "重定向到非http(s)网址", "重定向次数过多", "连接被拒绝", "找不到服务器", "连接被服务器关闭",
    // "安全连接失败", "网络不可用", "网络错误：<Qt's text>", or the text codec's error where GB18030 cannot
    // be converted (a Windows system without code page 936). Stopped: "已停止".
    QString reason;
};

// Reads a page that the user named, within limits: a body of at most 8 MiB (the fetch ends as soon as
// more comes), a time limit for the whole fetch (20 s; settable for tests), at most 5 redirects and
// each to an http(s) address. No cookies are kept (each fetch has its own store, gone with it), no
// credentials are sent (user names and passwords in an address are dropped; a server asking for them
// gets no answer and its 401 is the failure), no proxy, no cache. A 2xx answer whose Content-Type is no
// text ends the fetch as soon as its headers are in.
//
// Asynchronous: start() returns at once and finished() is emitted when the outcome is there, on the
// thread's event loop. waitForFinished() lets the caller wait in a local event loop instead, as the
// built-in download does at start-up. A slot of finished() may start another fetch; it drops the object
// with deleteLater(), not delete.
class PageFetch : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeLimitMs = 20'000;
    static constexpr qint64 kMaxBytes = qint64{8} * 1024 * 1024;
    static constexpr int kMaxRedirects = 5;

    explicit PageFetch(int timeLimitMs = kTimeLimitMs, QObject* parent = nullptr);
    ~PageFetch() override;

    // Starts reading the address; a fetch still running is stopped first. An address that
    // pageAddressProblem refuses fails at once (finished() is still emitted, from the event loop).
    void start(const QString& address);
    // Abandons the running fetch: its outcome becomes Stopped and finished() is emitted before this
    // returns. Nothing when no fetch runs.
    void stop();
    bool isRunning() const { return running_; }
    // Returns once the fetch has finished (at once when none runs), the thread's events handled
    // meanwhile.
    void waitForFinished();

    const PageOutcome& outcome() const { return outcome_; }

    // Reads the address and waits for the outcome.
    static PageOutcome read(const QString& address, int timeLimitMs = kTimeLimitMs);

signals:
    void finished();

private:
    void get(const QUrl& url);
    void onMetaData();
    void onReadyRead();
    void onReplyFinished();
    void fail(const QString& reason);
    void end(PageOutcome::Status status, const QString& reason, const QStringList& lines = {});

    int timeLimitMs_;
    QNetworkAccessManager* manager_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QTimer timeLimit_;
    QByteArray body_;
    int redirects_ = 0;
    bool running_ = false;
    quint64 fetches_ = 0; // tells a fetch's own queued failure from a later fetch's
    PageOutcome outcome_;
};

} // namespace dravik
