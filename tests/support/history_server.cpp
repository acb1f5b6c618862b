#include "history_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace dravik::test {

HttpResponse HttpResponse::page(const QByteArray& body, const QByteArray& contentType) {
    HttpResponse response;
    response.body = body;
    response.headers.append({"Content-Type", contentType});
    return response;
}

HttpResponse HttpResponse::error(int status, const QByteArray& reason) {
    HttpResponse response = page("<html><body>" + reason + "</body></html>");
    response.status = status;
    response.reason = reason;
    return response;
}

HttpResponse HttpResponse::redirect(const QByteArray& location, int status) {
    HttpResponse response = error(status, "Found");
    response.headers.append({"Location", location});
    return response;
}

HttpResponse HttpResponse::silent() {
    HttpResponse response;
    response.sendOnly = 0;
    return response;
}

HttpResponse& HttpResponse::withHeader(const QByteArray& name, const QByteArray& value) {
    headers.append({name, value});
    return *this;
}

QByteArray HttpRequest::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

int HttpRequest::headerCount(const QByteArray& name) const {
    int count = 0;
    for (const auto& header : headers)
        count += header.first.compare(name, Qt::CaseInsensitive) == 0 ? 1 : 0;
    return count;
}

HistoryServer::HistoryServer(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &HistoryServer::accept);
}

HistoryServer::~HistoryServer() = default;

bool HistoryServer::start() {
    return server_->listen(QHostAddress::LocalHost, 0);
}

QString HistoryServer::root() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(server_->serverPort());
}

void HistoryServer::setResponse(const QByteArray& path, const HttpResponse& response) {
    responses_.insert(path, response);
}

QByteArray HistoryServer::pagePath(int page) {
    return "/datas/history/haocai/history_" + QByteArray::number(page) + ".html";
}

void HistoryServer::setPage(int page, const HttpResponse& response) {
    setResponse(pagePath(page), response);
}

QList<QByteArray> HistoryServer::requestedPaths() const {
    QList<QByteArray> paths;
    for (const HttpRequest& request : requests_)
        paths.append(request.path);
    return paths;
}

void HistoryServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        pending_.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            pending_.remove(socket);
            socket->deleteLater();
        });
    }
}

void HistoryServer::serve(QTcpSocket* socket) {
    QByteArray& buffer = pending_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    buffer.clear();

    HttpRequest request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    request.version = requestLine.value(2);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    requests_.append(request);

    const HttpResponse response = responses_.value(request.path, HttpResponse::error(404, "Not Found"));
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
    for (const auto& [name, value] : response.headers)
        answer += name + ": " + value + "\r\n";
    if (response.sendContentLength)
        answer += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    answer += "Connection: close\r\n\r\n" + response.body;

    if (response.sendOnly >= 0) {
        socket->write(answer.left(response.sendOnly));
        return;
    }
    socket->write(answer);
    socket->disconnectFromHost();
}

} // namespace dravik::test
