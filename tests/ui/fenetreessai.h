#pragma once

#include "compteessai.h"
#include "fichierini.h"
#include "frmmain.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// What the window tests share: the settings they write, a web server of their own, the window they open.
namespace FenetreEssai {

inline QString lire(const QString &key)
{
    return FichierINI::LireIni(CompteRepartiteur::Cles::section, key, QStringLiteral("<absent>"));
}

inline void ecrire(const QString &key, const QString &value)
{
    FichierINI::EcrireIni(CompteRepartiteur::Cles::section, key, value);
}

// Account n complete, pointing at a wholesaler on 127.0.0.1:port with that client and key.
inline void compteLocal(int n, quint16 port, const QString &client = QStringLiteral("0999908"),
                        const QString &clef = QStringLiteral("4083"))
{
    ecritCompte(n, {.nom = n == 1 ? "PHOENIX" : "CERP ROUEN",
                    .id = n == 1 ? "23" : "18",
                    .code = "ETS" + QString::number(n),
                    .port = port,
                    .client = client,
                    .clef = clef});
}

inline void pharmacie()
{
    ecrire(QStringLiteral("AdrPharmacie"), QStringLiteral("Pharmacie du Marché"));
    ecrire(QStringLiteral("AdeliPharmacie"), QStringLiteral("751234567"));
}

// Checks every signal and answer of the model for as long as it lives.
inline void verifieModele(QAbstractItemModel *modele)
{
    new QAbstractItemModelTester(modele, QAbstractItemModelTester::FailureReportingMode::QtTest, modele);
}

// Answers with `reponse` the message box that the next step opens, if any; `vue` gets its
// "title|text|icon|buttons". The events must be let through before `vue` goes.
inline void repondra(QString &vue, QMessageBox::StandardButton reponse)
{
    QTimer::singleShot(0, [&vue, reponse] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            vue = QStringList{box->windowTitle(), box->text(), QString::number(box->icon()),
                              QString::number(box->standardButtons())}
                      .join(u'|');
            box->button(reponse)->click();
        }
    });
}

inline QByteArray httpReply(const QByteArray &body, const QByteArray &type = "text/html; charset=utf-8")
{
    return "HTTP/1.1 200 OK\r\nContent-Type: " + type +
           "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// A one-page web server: answers every request with the given reply and keeps the request lines.
class PageServer : public QObject {
public:
    explicit PageServer(QByteArray reply) : m_reply(std::move(reply))
    {
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

// Each test's surroundings: settings in a temporary folder, the maker's pages served locally, an empty
// clipboard; and the window once opened, shown and active (a reply awaited at most `attente`).
class Banc {
public:
    void prepare()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FichierINI::setRepertoireProgramme(m_dir->path());
        m_pages = std::make_unique<PageServer>(httpReply("<html><body><p>Bienvenue</p></body></html>"));
        ecrire(QStringLiteral("URLEditeur"), m_pages->base());
        QGuiApplication::clipboard()->clear();
    }
    void libere()
    {
        m_window.reset();
        m_pages.reset();
    }
    void ouvre(std::chrono::milliseconds attente = std::chrono::seconds(5))
    {
        m_window.reset();
        m_window = std::make_unique<frmMain>(nullptr, Temporisation{10, 20, attente});
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    template <typename T> T *c(const QString &nom)
    {
        T *trouve = m_window->findChild<T *>(nom);
        if (!trouve)
            qFatal("no control %s", qPrintable(nom));
        return trouve;
    }
    QLineEdit *txt(int i) { return c<QLineEdit>(QStringLiteral("TxtDispo%1").arg(i)); }
    // Those of the window's controls `noms` that are visible, blank-separated.
    QString visibles(QStringList noms)
    {
        noms.removeIf([this](const QString &nom) { return !c<QWidget>(nom)->isVisible(); });
        return noms.join(u' ');
    }

protected:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageServer> m_pages;
    std::unique_ptr<frmMain> m_window;
};

} // namespace FenetreEssai
