#include "sockettcp.h"

#include "runtimeerror.h"

#include <QTcpSocket>

SocketTcp::SocketTcp(QTcpSocket *socket) : m_socket(socket) {
    // Small requests and replies: no waiting to coalesce segments.
    m_connexion = QObject::connect(socket, &QTcpSocket::connected, socket, [this] {
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        signaleConnexion();
    });
    m_arrivee = QObject::connect(socket, &QTcpSocket::readyRead, socket, [this] {
        signaleArrivee(qint32(std::min<qint64>(m_socket->bytesAvailable(), INT32_MAX)));
    });
}

SocketTcp::~SocketTcp() {
    QObject::disconnect(m_connexion);
    QObject::disconnect(m_arrivee);
}

void SocketTcp::setRemoteHost(const QString &hote) {
    m_hote = hote;
}

void SocketTcp::setRemotePort(qint32 port) {
    if (port < 0 || port > 65535)
        throw RuntimeError::invalidPropertyValue();
    m_port = quint16(port);
}

void SocketTcp::Connect() {
    if (!m_socket)
        return;
    m_socket->abort();
    m_socket->connectToHost(m_hote, m_port);
}

void SocketTcp::SendData(const QByteArray &donnees) {
    if (m_socket)
        m_socket->write(donnees);
}

QByteArray SocketTcp::GetData() {
    return m_socket ? m_socket->readAll() : QByteArray();
}

void SocketTcp::Close() {
    if (m_socket)
        m_socket->abort();
}
