// The window's shape cut out of the 666 x 363 skin, the drawing of its three command buttons, and the
// counter's own delays: from Enter to the request's first byte, from the reply's last byte to the answer
// drawn.
#include "commandes.h"
#include "fichierini.h"
#include "frmmain.h"
#include "modskin.h"
#include "repartiteur.h"
#include "tovabutton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextEdit>

#include <functional>

#include <benchmark/benchmark.h>

namespace {

void RegionDepuisImage_skin(benchmark::State &state)
{
    const QImage skin(QStringLiteral(SOLVARIN_SKIN));
    if (skin.isNull()) {
        state.SkipWithError("skin picture not found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(modSkin::RegionDepuisImage(skin));
}
BENCHMARK(RegionDepuisImage_skin)->Unit(benchmark::kMicrosecond);

// One refresh (palette, layout, forced redraw) of cmdParam, cmdDispo(0) and cmdDispo(1), with their
// stored properties and sizes.
void DrawButton_threeCommands(benchmark::State &state)
{
    QWidget window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.resize(659, 363);
    using Commandes::Bouton;
    const struct {
        Bouton bouton;
        QRect geometry;
        const char *caption;
    } commands[] = {
        {Bouton::Param, {12, 328, 108, 20}, "Paramètres"},
        {Bouton::Dispo1, {17, 170, 275, 21}, "Disponibilité PHOENIX"},
        {Bouton::Dispo2, {322, 170, 275, 21}, "Disponibilité CERP ROUEN"},
    };
    std::vector<TOVAButton *> buttons;
    for (const auto &c : commands) {
        TOVAButton *button = Commandes::creer(c.bouton, &window);
        button->setCaption(QString::fromUtf8(c.caption));
        button->setGeometry(c.geometry);
        buttons.push_back(button);
    }
    window.show();
    for (auto _ : state)
        for (TOVAButton *button : buttons) {
            button->Refresh();
            benchmark::ClobberMemory();
        }
}
BENCHMARK(DrawButton_threeCommands)->Unit(benchmark::kMicrosecond);

// The main window with account 1 at a wholesaler of this thread that answers as soon as the request
// is complete, with a product line available at three prices.
class Comptoir {
public:
    Comptoir()
    {
        FichierINI::setRepertoireProgramme(m_dossier.path());
        m_serveur.listen(QHostAddress::LocalHost);
        for (const auto &[cle, valeur] : {std::pair{"URLEditeur", "http://127.0.0.1:9"},
                                          {"AdrPharmacie", "Pharmacie du Marché"},
                                          {"AdeliPharmacie", "751234567"}})
            FichierINI::EcrireIni(CompteRepartiteur::Cles::section, QString::fromUtf8(cle),
                                  QString::fromUtf8(valeur));
        ecritCompte(1, {.nom = "PHOENIX", .id = "23", .port = m_serveur.serverPort()});
        QObject::connect(&m_serveur, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = m_serveur.nextPendingConnection()) {
                QObject::connect(s, &QTcpSocket::readyRead, [this, s] {
                    if (m_recu.isEmpty())
                        m_premierOctet = m_chrono.nsecsElapsed();
                    m_recu += s->readAll();
                    if (m_recu.contains("</CSRP_ENVELOPPE>"))
                        m_complete = s;
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
        m_fenetre = std::make_unique<frmMain>();
        m_fenetre->show();
        m_cip = m_fenetre->findChild<QLineEdit *>(QStringLiteral("TxtDispo2"));
        m_boite = m_fenetre->findChild<QTextEdit *>(QStringLiteral("txtInfos1"));
        m_chrono.start();
    }

    // One query: seconds from Enter to the request's first byte, and from the reply's last byte written
    // to the answer drawn.
    std::pair<double, double> question()
    {
        m_recu.clear();
        m_complete = nullptr;
        m_cip->setText(QStringLiteral("3582910"));
        QKeyEvent entree(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        const qint64 touche = m_chrono.nsecsElapsed();
        QApplication::sendEvent(m_cip, &entree);
        attends([this] { return m_complete != nullptr; });
        const qint64 reponse = m_chrono.nsecsElapsed();
        m_complete->write(reponseHttp());
        m_complete->flush();
        attends([this] { return m_boite->toPlainText() == QLatin1String("\nDISPONIBLE"); });
        m_boite->repaint();
        const qint64 dessin = m_chrono.nsecsElapsed();
        return {double(m_premierOctet - touche) / 1e9, double(dessin - reponse) / 1e9};
    }

private:
    static void attends(const std::function<bool()> &fait)
    {
        while (!fait())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    static QByteArray reponseHttp()
    {
        const QByteArray corps =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<CSRP_ENVELOPPE xmlns=\"urn:x-csrp:fr.csrp.protocole:enveloppe\" Nature_Action=\"REP_EMISSION\">"
            "<ENTETE><REF_MESSAGE>R1</REF_MESSAGE></ENTETE><CORPS>"
            "<MESSAGE_REPARTITEUR xmlns=\"urn:x-csrp:fr.csrp.protocole:message\"><ENTETE/><CORPS>"
            "<REP_INFO_PRODUIT Ref_Demande_Info=\"R\"><LIGNE Num_Ligne=\"1\" Designation=\"DOLIPRANE 1000MG "
            "CPR B/8\">"
            "<PRIX Nature=\"PHAHT\" Valeur=\"1.570\"/><PRIX Nature=\"NETHT\" Valeur=\"1.490\"/>"
            "<PRIX Nature=\"PUBTC\" Valeur=\"2.180\"/><DISPO/></LIGNE></REP_INFO_PRODUIT>"
            "</CORPS></MESSAGE_REPARTITEUR></CORPS></CSRP_ENVELOPPE>";
        return "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=UTF-8\r\nContent-Length: " +
               QByteArray::number(corps.size()) + "\r\nConnection: close\r\n\r\n" + corps;
    }

    QTemporaryDir m_dossier;
    QTcpServer m_serveur;
    std::unique_ptr<frmMain> m_fenetre;
    QLineEdit *m_cip = nullptr;
    QTextEdit *m_boite = nullptr;
    QElapsedTimer m_chrono;
    QByteArray m_recu;
    QTcpSocket *m_complete = nullptr;
    qint64 m_premierOctet = 0;
};

void Comptoir_EntreeJusquAuPremierOctet(benchmark::State &state)
{
    Comptoir comptoir;
    for (auto _ : state)
        state.SetIterationTime(comptoir.question().first);
}
BENCHMARK(Comptoir_EntreeJusquAuPremierOctet)->UseManualTime()->Unit(benchmark::kMillisecond);

void Comptoir_DernierOctetJusquALAffichage(benchmark::State &state)
{
    Comptoir comptoir;
    for (auto _ : state)
        state.SetIterationTime(comptoir.question().second);
}
BENCHMARK(Comptoir_DernierOctetJusquALAffichage)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(artwork); // the buttons' icons
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
