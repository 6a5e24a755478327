#pragma once

#include <QTcpServer>
#include <QTcpSocket>

#include <utility>

// A one-page web server of the test's own: answers every request with the given reply and keeps the
// request lines it received.
class PageServer : public QObject {
public:
    explicit PageServer(QByteArray reply) : m_reply(std::move(reply)) {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_received += socket->readAll();
                    if (!m_received.contains("\r\n\r\n"))
                        return;
                    requests << m_received.left(m_received.indexOf("\r\n"));
                    m_received.clear();
                    socket->write(m_reply);
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    void setReply(QByteArray reply) { m_reply = std::move(reply); }
    QList<QByteArray> requests;

private:
    QTcpServer m_server;
    QByteArray m_reply;
    QByteArray m_received;
};

inline QByteArray httpReply(const QByteArray &body, const QByteArray &type = "text/html; charset=utf-8") {
    return "HTTP/1.1 200 OK\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}
