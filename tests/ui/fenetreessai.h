#pragma once

#include "fichierini.h"
#include "frmmain.h"

#include "ui/pageserver.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// What the window tests share: the settings they write, the window they open and its controls.
namespace FenetreEssai {

inline QString lire(const QString &key)
{
    return FichierINI::LireIni(QStringLiteral("Infos"), key, QStringLiteral("<absent>"));
}

inline void ecrire(const QString &key, const QString &value)
{
    FichierINI::EcrireIni(QStringLiteral("Infos"), key, value);
}

// Account n complete, pointing at a wholesaler on 127.0.0.1:port with that client and key.
inline void compteLocal(int n, quint16 port, const QString &client = QStringLiteral("0999908"),
                        const QString &clef = QStringLiteral("4083"))
{
    const QString s = QString::number(n);
    ecrire(QStringLiteral("NomRepart") + s,
           n == 1 ? QStringLiteral("PHOENIX") : QStringLiteral("CERP ROUEN"));
    ecrire(QStringLiteral("IdRepart") + s, n == 1 ? QStringLiteral("23") : QStringLiteral("18"));
    ecrire(QStringLiteral("CodeRepart") + s, QStringLiteral("ETS") + s);
    ecrire(QStringLiteral("URLRepart") + s, QStringLiteral("http://127.0.0.1/pml"));
    ecrire(QStringLiteral("PortRepart") + s, QString::number(port));
    ecrire(QStringLiteral("NumeroCli") + s, client);
    ecrire(QStringLiteral("ClefCli") + s, clef);
}

inline void pharmacie()
{
    ecrire(QStringLiteral("AdrPharmacie"), QStringLiteral("Pharmacie du Marché"));
    ecrire(QStringLiteral("AdeliPharmacie"), QStringLiteral("751234567"));
}

// The window, shown and active; a reply is awaited at most `attente`.
inline std::unique_ptr<frmMain> ouvre(std::chrono::milliseconds attente = std::chrono::seconds(5))
{
    auto w = std::make_unique<frmMain>(nullptr, Temporisation{10, 20, attente});
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the window did not become active");
    return w;
}

template <typename T> T *controle(QWidget *fenetre, const QString &nom)
{
    T *found = fenetre->findChild<T *>(nom);
    if (!found)
        qFatal("no control %s", qPrintable(nom));
    return found;
}

// Answers the next modal message box with `reponse`; `vue` gets "title|text|icon|buttons" of the box.
inline void repondra(QString &vue, QMessageBox::StandardButton reponse)
{
    auto *attente = new QTimer;
    attente->setInterval(5);
    QObject::connect(attente, &QTimer::timeout, attente, [&vue, reponse, attente] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        vue = QStringList{box->windowTitle(), box->text(), QString::number(box->icon()),
                          QString::number(box->standardButtons())}
                  .join(u'|');
        box->button(reponse)->click();
        attente->deleteLater();
    });
    attente->start();
}

// Each test's surroundings: settings in a temporary folder, the maker's pages served locally, an empty
// clipboard; and the window once opened.
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
    template <typename T> T *c(const QString &nom) { return controle<T>(m_window.get(), nom); }
    QLineEdit *txt(int i) { return c<QLineEdit>(QStringLiteral("TxtDispo%1").arg(i)); }

protected:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageServer> m_pages;
    std::unique_ptr<frmMain> m_window;
};

} // namespace FenetreEssai
