#include "basesurveillance.h"
#include "compteessai.h"
#include "fichierini.h"
#include "historique.h"
#include "manquants.h"
#include "notificationbureau.h"
#include "serveursessai.h"
#include "simulateur.h"
#include "surveillance.h"

#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Etat = ReponseEnregistree::Etat;

// The desktop's notification service as a test sees it: the summary and body of each notification.
class ServiceNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList recues;
public slots:
    uint Notify(const QString &, uint, const QString &, const QString &titre, const QString &texte,
                const QStringList &, const QVariantMap &, int)
    {
        recues << titre + u'|' + texte;
        return uint(recues.size());
    }
};

namespace {
const QDateTime lundi10h(QDate(2026, 12, 7), QTime(10, 0));
} // namespace

// The watch against two simulated wholesalers on the loopback, its list in a real SQLite file, "now"
// from a clock the test sets: rounds of a whole day run in milliseconds.
class TestSurveillance : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FichierINI::setRepertoireProgramme(m_dir->path());
        m_ocp = std::make_unique<SimulateurPharmaML>();
        m_phoenix = std::make_unique<SimulateurPharmaML>();
        QVERIFY(m_ocp->ecoute());
        QVERIFY(m_phoenix->ecoute());
        QVERIFY(ecritCompte(1, {.port = m_ocp->port()}));
        QVERIFY(ecritCompte(2, {.nom = "PHOENIX",
                                .id = "23",
                                .code = "PHX",
                                .url = "http://127.0.0.1:" + QString::number(m_phoenix->port()) + "/pml",
                                .client = "123456",
                                .clef = "CLEF9876"}));
        m_maintenant = lundi10h;
    }

    void horaires_data()
    {
        QTest::addColumn<QString>("jours");
        QTest::addColumn<QString>("heures");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("ouvert");
        QTest::addColumn<QDateTime>("prochaine");
        const QDate lundi(2026, 12, 7);
        QTest::newRow("defaults, Monday morning")
            << ""
            << "" << QDateTime(lundi, QTime(10, 0)) << true << QDateTime(lundi.addDays(1), QTime(8, 30));
        QTest::newRow("defaults, before opening")
            << ""
            << "" << QDateTime(lundi, QTime(8, 29)) << false << QDateTime(lundi, QTime(8, 30));
        QTest::newRow("defaults, closing time")
            << ""
            << "" << QDateTime(lundi, QTime(19, 30)) << false << QDateTime(lundi.addDays(1), QTime(8, 30));
        QTest::newRow("defaults, Saturday evening to Monday")
            << ""
            << "" << QDateTime(lundi.addDays(5), QTime(20, 0)) << false
            << QDateTime(lundi.addDays(7), QTime(8, 30));
        QTest::newRow("lunch break") << "lun-ven"
                                     << "08:30-12:30,14:00-19:30" << QDateTime(lundi, QTime(13, 0)) << false
                                     << QDateTime(lundi, QTime(14, 0));
        QTest::newRow("a list of days, Sunday open")
            << "mar,dim"
            << "9:00-12:00" << QDateTime(lundi.addDays(6), QTime(9, 0)) << true
            << QDateTime(lundi.addDays(8), QTime(9, 0));
        QTest::newRow("a range past Sunday")
            << "sam-lun"
            << "" << QDateTime(lundi, QTime(9, 0)) << true << QDateTime(lundi.addDays(5), QTime(8, 30));
        QTest::newRow("a range past Sunday, on Sunday") << "sam-lun"
                                                        << "" << QDateTime(lundi.addDays(6), QTime(9, 0))
                                                        << true << QDateTime(lundi.addDays(7), QTime(8, 30));
    }

    void horaires()
    {
        QFETCH(QString, jours);
        QFETCH(QString, heures);
        QFETCH(QDateTime, moment);
        const auto p = ParametresSurveillance::depuis({}, jours, heures, {});
        QVERIFY(p.avertissements.isEmpty());
        QTEST(p.ouvert(moment), "ouvert");
        QTEST(p.prochaineOuverture(moment), "prochaine");
    }

    void reglagesCorriges_data()
    {
        QTest::addColumn<QString>("intervalle");
        QTest::addColumn<QString>("jours");
        QTest::addColumn<QString>("heures");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("avertissement");
        QTest::newRow("below the minimum")
            << "2"
            << ""
            << "" << 5 << "Surveillance : intervalle de 2 minutes porté à 5 minutes";
        QTest::newRow("no number") << "vite"
                                   << ""
                                   << "" << 30
                                   << "Surveillance : intervalle « vite » illisible, 30 minutes retenues";
        QTest::newRow("hours that are no hours")
            << "10"
            << ""
            << "25:00-26:00" << 10
            << "Surveillance : heures « 25:00-26:00 » illisibles, 08:30-19:30 retenues";
        QTest::newRow("closing before opening")
            << ""
            << ""
            << "19:30-08:30" << 30
            << "Surveillance : heures « 19:30-08:30 » illisibles, 08:30-19:30 retenues";
        QTest::newRow("no such day") << ""
                                     << "lun-samedi,xyz"
                                     << "" << 30
                                     << "Surveillance : jours « lun-samedi,xyz » illisibles, lun-sam retenus";
    }

    void reglagesCorriges()
    {
        QFETCH(QString, intervalle);
        QFETCH(QString, jours);
        QFETCH(QString, heures);
        QFETCH(QString, avertissement);
        const auto p = ParametresSurveillance::depuis(intervalle, jours, heures, {});
        QTEST(int(p.intervalle.count()), "minutes");
        QCOMPARE(p.avertissements, QStringList{avertissement});
        QCOMPARE(p.heures, ParametresSurveillance().heures);
        QCOMPARE(p.jours, ParametresSurveillance().jours);

        // Said once, however many rounds read the settings.
        QVERIFY(FichierINI::EcrireIni("Surveillance", "Intervalle", intervalle) != 0);
        QVERIFY(FichierINI::EcrireIni("Surveillance", "Jours", jours) != 0);
        QVERIFY(FichierINI::EcrireIni("Surveillance", "Heures", heures) != 0);
        const auto s = surveillance();
        QSignalSpy avertissements(s.get(), &Surveillance::avertissement);
        s->lanceTour(false);
        s->lanceTour(false);
        QCOMPARE(avertissements.count(), 1);
        QCOMPARE(avertissements.first().first().toString(), avertissement);
    }

    void alerteUneFoisQuandLeProduitRevient()
    {
        m_ocp->options().manquants = {QStringLiteral("3582910")};
        const auto s = surveillance();
        QCOMPARE(s->ajoute({"3582910", "3153342"}), QStringList());
        QSignalSpy alertes(s.get(), &Surveillance::alerte);

        tour(*s);
        QCOMPARE(alertes.count(), 1);
        QCOMPARE(alertes.takeFirst().first().toString(),
                 QStringLiteral("Disponible chez PHOENIX : 3582910 DOLIPRANE 1000MG CPR B/8"));
        QCOMPARE(etat("3582910", 1).etat, Etat::NonDisponible);
        QCOMPARE(etat("3153342", 2).etat, Etat::NonDisponible);

        // Within the interval, no round; after it, OCP has it again.
        m_maintenant = lundi10h.addSecs(29 * 60);
        QVERIFY(!s->lanceTour(false));
        m_ocp->options().manquants.clear();
        m_maintenant = lundi10h.addSecs(30 * 60);
        tour(*s);
        QCOMPARE(alertes.count(), 1);
        QCOMPARE(alertes.takeFirst().first().toString(),
                 QStringLiteral("Disponible chez OCP : 3582910 DOLIPRANE 1000MG CPR B/8"));
        QCOMPARE(etat("3582910", 1).etat, Etat::Disponible);

        // PHOENIX gone: its last answer stays, with the failure beside it; OCP's answer is kept, and the
        // product, still available there, stays watched and raises no second alert.
        s->retire({"3153342"});
        m_phoenix.reset();
        m_maintenant = lundi10h.addSecs(60 * 60);
        QSignalSpy changements(s.get(), &Surveillance::changement);
        tour(*s);
        QCOMPARE(alertes.count(), 0);
        const EtatCompte phoenix = etat("3582910", 2);
        QCOMPARE(phoenix.etat, Etat::Disponible);
        QCOMPARE(phoenix.verifie, lundi10h.addSecs(30 * 60));
        QVERIFY(!phoenix.echec.isEmpty());
        QCOMPARE(etat("3582910", 1).verifie, m_maintenant);
        QCOMPARE(changements.count(), 1);
        const auto c = changements.first().first().value<Changement>();
        QCOMPARE(c.compte, qint16(2));
        QCOMPARE(c.apres, Etat::Echec);
        // Only valid codes join the list.
        QCOMPARE(s->ajoute({"358291", "3400935829109", "3400935829108", "35829100"}),
                 (QStringList{"358291", "3400935829109", "35829100"}));
        const auto produits = s->base()->produits();
        QVERIFY(produits);
        QStringList gardes;
        for (const ProduitSurveille &p : *produits)
            gardes << p.code;
        QCOMPARE(gardes, (QStringList{"3400935829108", "3582910"}));
    }

    void dateAnnonceeRespectee()
    {
        const auto s = surveillance();
        s->ajoute({"3153342"});
        const QDateTime avant = lundi10h.addDays(-1);
        QCOMPARE(s->base()->enregistre(
                     {{"3153342", 1, {Etat::NonDisponible, avant, {}, "2026-12-09", {}, {}}, {}}}),
                 QString());

        tour(*s);
        QCOMPARE(m_ocp->connexions(), 0);
        QCOMPARE(etat("3153342", 1).verifie, avant);
        QCOMPARE(etat("3153342", 2).verifie, lundi10h);

        m_maintenant = lundi10h.addDays(1);
        tour(*s);
        QCOMPARE(m_ocp->connexions(), 0);
        m_maintenant = lundi10h.addDays(2);
        tour(*s);
        QCOMPARE(m_ocp->connexions(), 1);
        QCOMPARE(etat("3153342", 1).verifie, m_maintenant);
    }

    void finDeServiceJusquALaProchaineOuverture()
    {
        m_ocp->options().reponse = OptionsSimulateur::Reponse::FinService;
        const auto s = surveillance();
        s->ajoute({"3582910", "3153342"});
        tour(*s);
        QCOMPARE(m_ocp->connexions(), 1);
        QCOMPARE(etat("3582910", 1).etatAffiche(), Etat::FinService);

        m_ocp->options().reponse = OptionsSimulateur::Reponse::Produits;
        for (const int minutes : {30, 60, 9 * 60}) {
            m_maintenant = lundi10h.addSecs(minutes * 60);
            tour(*s);
        }
        QCOMPARE(m_ocp->connexions(), 1);
        QCOMPARE(m_phoenix->connexions(), 4);
        m_maintenant = QDateTime(lundi10h.date().addDays(1), QTime(8, 30));
        tour(*s);
        QCOMPARE(m_ocp->connexions(), 2);
        QCOMPARE(etat("3582910", 1).etatAffiche(), Etat::Disponible);
    }

    void unSeulTourParIntervallePourLaPharmacie_data()
    {
        QTest::addColumn<bool>("postgresql");
        QTest::newRow("one folder, SQLite") << false;
        QTest::newRow("two folders, one PostgreSQL database") << true;
    }

    // One round per interval for the pharmacy, and none while it is closed: two counters, in one
    // program folder or in two that share a PostgreSQL database.
    void unSeulTourParIntervallePourLaPharmacie()
    {
        QFETCH(bool, postgresql);
        std::unique_ptr<ServeurPostgres> serveur;
        QTemporaryDir autreDossier;
        const QString dossiers[2] = {m_dir->path(), postgresql ? autreDossier.path() : m_dir->path()};
        if (postgresql) {
            serveur = std::make_unique<ServeurPostgres>();
            if (!serveur->demarre())
                QSKIP(qPrintable(serveur->raison));
            QVERIFY(QFile::copy(m_dir->filePath("Solvarin.ini"), autreDossier.filePath("Solvarin.ini")));
            for (const QString &dossier : dossiers) {
                FichierINI::setRepertoireProgramme(dossier);
                QVERIFY(FichierINI::EcrireIni("Historique", "Base", serveur->url()) != 0);
            }
        }
        // Whichever asks first takes the round.
        const auto premier = surveillance();
        const auto second = surveillance();
        FichierINI::setRepertoireProgramme(dossiers[0]);
        QCOMPARE(premier->ajoute({"3582910"}), QStringList());
        tour(*premier);
        FichierINI::setRepertoireProgramme(dossiers[1]);
        m_maintenant = lundi10h.addSecs(60);
        QVERIFY(!second->lanceTour(false));
        m_maintenant = lundi10h.addSecs(30 * 60);
        tour(*second);
        FichierINI::setRepertoireProgramme(dossiers[0]);
        QVERIFY(!premier->lanceTour(false));
        QCOMPARE(m_ocp->connexions(), 2);
        // The list is shared: what one counter's round found, the other reads.
        QCOMPARE(premier->base()->produits().value().first().verifie, m_maintenant);
        // Asked by hand, a round runs whenever the last one ran.
        tour(*premier, true);
        QCOMPARE(m_ocp->connexions(), 3);
        // Which moments are open is the schedule's table above; here, a closed moment asks nothing.
        m_maintenant = QDateTime(QDate(2026, 12, 13), QTime(10, 0));
        QVERIFY(!premier->lanceTour(false));
        QVERIFY(FichierINI::EcrireIni("Surveillance", "Jours", "dim") != 0);
        tour(*premier);
        QCOMPARE(m_ocp->connexions() + m_phoenix->connexions(), 8);
    }

    void manquantsDeLaListe_data()
    {
        QTest::addColumn<QList<int>>("premier"); // per code: -1 no answer, else a Disponibilite
        QTest::addColumn<QList<int>>("second");
        QTest::addColumn<QStringList>("manquants");
        const int dispo = int(Disponibilite::Disponible), nonDispo = int(Disponibilite::NonDisponible),
                  autre = int(Disponibilite::Autre);
        QTest::newRow("missing at both")
            << QList<int>{nonDispo, dispo} << QList<int>{autre, nonDispo} << QStringList{"3582910"};
        QTest::newRow("one account failed, the other has none")
            << QList<int>{-1, -1} << QList<int>{nonDispo, dispo} << QStringList{"3582910"};
        QTest::newRow("never answered") << QList<int>{-1, -1} << QList<int>{-1, -1} << QStringList();
    }

    void manquantsDeLaListe()
    {
        QFETCH(QList<int>, premier);
        QFETCH(QList<int>, second);
        const QList<LigneListe> lignes{
            {"3582910", 1, "3582910"}, {"2756339", 1, "2756339"}, {{}, 1, "Doliprane"}};
        QList<ReponsesCompte> comptes(2);
        for (int k = 0; k < 2; ++k) {
            const QList<int> &etats = k == 0 ? premier : second;
            for (int i = 0; i < 2; ++i) {
                ReponseCode r;
                r.etat = etats[i] < 0 ? ReponseCode::Etat::Echec : ReponseCode::Etat::Repondue;
                r.ligne.disponibilite = Disponibilite(std::max(0, etats[i]));
                comptes[k].parCode.insert(lignes[i].code, r);
            }
        }
        QTEST(Manquants::codes(lignes, comptes), "manquants");
    }

    void referencesToutesDifferentes()
    {
        Historique historique;
        const auto s = surveillance();
        QStringList codes;
        for (int i = 0; i < 200; ++i)
            codes << QString::number(3000000 + i);
        QCOMPARE(s->ajoute(codes), QStringList());
        tour(*s);
        m_maintenant = lundi10h.addSecs(30 * 60);
        tour(*s);
        historique.attend();

        BaseHistorique base(*ParametresHistorique::lis());
        QCOMPARE(base.ouvre(), QString());
        BaseHistorique::Filtre filtre;
        filtre.limite = 100000;
        const auto reponses = base.cherche(filtre);
        QVERIFY(reponses);
        QCOMPARE(reponses->size(), 2 * 2 * 200);
        QSet<QString> references;
        for (const ReponseEnregistree &r : *reponses) {
            QCOMPARE(r.source, ReponseEnregistree::Source::Surveillance);
            references.insert(QString::number(r.compte) + u' ' + r.refMessage);
        }
        // Four requests of 50 per account and round, each message to an account a reference of its own.
        QCOMPARE(references.size(), 2 * 2 * 4);
        QCOMPARE(m_ocp->connexions(), 8);
    }

    void notificationSurLeBureau()
    {
        // A session bus of the test's own, and the service on it.
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (!bus.waitForStarted() || !bus.waitForReadyRead(5000))
            QSKIP("no dbus-daemon to run a session bus");
        const QByteArray adresse = bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", adresse);
        QDBusConnection service =
            QDBusConnection::connectToBus(QString::fromLatin1(adresse), QStringLiteral("service"));
        ServiceNotifications notifications;
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.Notifications")));

        QVERIFY(
            NotificationBureau::envoie("Solvarin", "Disponible chez OCP : 3582910 DOLIPRANE 1000MG CPR B/8"));
        QTRY_COMPARE(notifications.recues,
                     QStringList{"Solvarin|Disponible chez OCP : 3582910 DOLIPRANE 1000MG CPR B/8"});
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        bus.kill();
        bus.waitForFinished();
    }

private:
    // A round at the clock's time, waited for.
    void tour(Surveillance &surveillance, bool force = false)
    {
        QSignalSpy fin(&surveillance, &Surveillance::tourTermine);
        QVERIFY(surveillance.lanceTour(force));
        QTRY_COMPARE(fin.count(), 1);
    }

    std::unique_ptr<Surveillance> surveillance()
    {
        auto s = std::make_unique<Surveillance>(nullptr, [this] { return m_maintenant; });
        s->setDelaiAttente(std::chrono::seconds(5));
        return s;
    }

    EtatCompte etat(const QString &code, qint16 compte)
    {
        BaseSurveillance base(*ParametresHistorique::lis());
        if (!base.ouvre().isEmpty())
            return {};
        for (const ProduitSurveille &p : base.produits().value_or(QList<ProduitSurveille>())) {
            if (p.code == code)
                return p.comptes.value(compte);
        }
        return {};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SimulateurPharmaML> m_ocp;
    std::unique_ptr<SimulateurPharmaML> m_phoenix;
    QDateTime m_maintenant;
};

QTEST_GUILESS_MAIN(TestSurveillance)
#include "tst_surveillance.moc"
