#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The TCP connection that the exchange drives: the main window's socket in the program, a loopback
// connection or a scripted fake in tests. Only the connection and data-arrival events are handled;
// errors and the peer's close are not reported (a refused connection ends at the time limit).
class SocketHttp {
public:
    virtual ~SocketHttp() = default;

    virtual void setRemoteHost(const QString &hote) = 0;
    // Throws RuntimeError for a value no TCP port can have.
    virtual void setRemotePort(qint32 port) = 0;
    // Asynchronous: success calls the connection callback, later.
    virtual void Connect() = 0;
    virtual void SendData(const QByteArray &donnees) = 0;
    // Everything received and not yet taken.
    virtual QByteArray GetData() = 0;
    virtual void Close() = 0;

    // The exchange's handlers: connected, and data arrived (with the count of bytes waiting).
    void setRappels(std::function<void()> connecte, std::function<void(qint32)> arrivee) {
        m_connecte = std::move(connecte);
        m_arrivee = std::move(arrivee);
    }

protected:
    void signaleConnexion() {
        if (m_connecte)
            m_connecte();
    }
    void signaleArrivee(qint32 octets) {
        if (m_arrivee)
            m_arrivee(octets);
    }

private:
    std::function<void()> m_connecte;
    std::function<void(qint32)> m_arrivee;
};
