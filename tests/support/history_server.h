#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

namespace dravik::test {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

// One answer the server gives for a path.
struct HttpResponse {
    int status = 200;
    QByteArray reason = "OK";
    HeaderList headers; // sent as given, after the status line
    QByteArray body;
    // Without Content-Length the body ends where the server closes the connection.
    bool sendContentLength = true;
    // When not negative: only this many bytes of the whole answer are sent, then the server stays
    // silent and keeps the connection open (0: accepts the request and never answers).
    qsizetype sendOnly = -1;

    static HttpResponse page(const QByteArray& body, const QByteArray& contentType = "text/html");
    static HttpResponse error(int status, const QByteArray& reason);
    static HttpResponse redirect(const QByteArray& location, int status = 302);
    static HttpResponse silent();
    HttpResponse& withHeader(const QByteArray& name, const QByteArray& value);
};

// One request as received.
struct HttpRequest {
    QByteArray method;
    QByteArray path;
    QByteArray version;
    HeaderList headers; // in the order received
    // The value of the first header of that name (any letter case); empty when there is none.
    QByteArray header(const QByteArray& name) const;
    int headerCount(const QByteArray& name) const;
};

// A small HTTP/1.1 server on 127.0.0.1 that runs in the test's own thread (a fetch's local event loop
// serves it). It answers every request by its path from the answers set, others with 404, closes
// each connection after the answer, and records every request.
class HistoryServer : public QObject {
    Q_OBJECT

public:
    explicit HistoryServer(QObject* parent = nullptr);
    ~HistoryServer() override;

    bool start();         // on 127.0.0.1, any free port
    QString root() const; // "http://127.0.0.1:<port>"

    void setResponse(const QByteArray& path, const HttpResponse& response);
    // The answer for history page n ("/datas/history/haocai/history_<n>.html").
    void setPage(int page, const HttpResponse& response);
    static QByteArray pagePath(int page);

    const QList<HttpRequest>& requests() const { return requests_; }
    QList<QByteArray> requestedPaths() const;

private:
    void accept();
    void serve(QTcpSocket* socket);

    QTcpServer* server_;
    QHash<QByteArray, HttpResponse> responses_;
    QHash<QTcpSocket*, QByteArray> pending_;
    QList<HttpRequest> requests_;
};

} // namespace dravik::test
