#pragma once
// A small HTTP/1.1 provider on 127.0.0.1 for tests: it records every request and answers with
// scripted replies, or not at all.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

struct RecordedRequest {
    QByteArray method;
    QByteArray target; // path and query as sent
    QByteArray path;
    QByteArray query;
    QHash<QByteArray, QByteArray> headers; // names in lower case
};

struct ScriptedReply {
    ScriptedReply(int s = 200, QByteArray b = {}, QByteArray h = {})
        : status(s), body(std::move(b)), extraHeaders(std::move(h))
    {
    }
    int status;
    QByteArray body;
    QByteArray extraHeaders; // whole lines, each ending in CR LF
};

class HttpStub : public QObject {
public:
    HttpStub()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    QHash<QByteArray, ScriptedReply> replies; // by path
    bool silent = false;                      // accept, read, never answer
    QList<RecordedRequest> requests;

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        buffer.remove(0, end + 4);
        RecordedRequest request;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        const int question = request.target.indexOf('?');
        request.path = question < 0 ? request.target : request.target.left(question);
        request.query = question < 0 ? QByteArray() : request.target.mid(question + 1);
        for (int i = 1; i < lines.size(); ++i) {
            const int colon = lines.at(i).indexOf(':');
            if (colon > 0)
                request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                       lines.at(i).mid(colon + 1).trimmed());
        }
        requests << request;
        if (silent)
            return;
        const ScriptedReply reply = replies.value(request.path, ScriptedReply{404, "not found"});
        socket->write("HTTP/1.1 " + QByteArray::number(reply.status) +
                      " Status\r\n"
                      "Content-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(reply.body.size()) + "\r\n" + reply.extraHeaders + "\r\n" +
                      reply.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};
