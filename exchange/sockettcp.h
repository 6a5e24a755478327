#pragma once

#include "sockethttp.h"

#include <QMetaObject>
#include <QPointer>

class QTcpSocket;

// SocketHttp over a QTcpSocket that someone else owns (the main window). Calls on a socket that has
// been deleted meanwhile do nothing.
class SocketTcp : public SocketHttp {
public:
    explicit SocketTcp(QTcpSocket *socket);
    ~SocketTcp() override;
    SocketTcp(const SocketTcp &) = delete;
    SocketTcp &operator=(const SocketTcp &) = delete;

    void setRemoteHost(const QString &hote) override;
    void setRemotePort(qint32 port) override;
    void Connect() override;
    void SendData(const QByteArray &donnees) override;
    QByteArray GetData() override;
    void Close() override;

private:
    QPointer<QTcpSocket> m_socket;
    QMetaObject::Connection m_connexion;
    QMetaObject::Connection m_arrivee;
    QString m_hote;
    quint16 m_port = 0;
};
