#include "codegs1.h"
#include "codeproduit.h"
#include "compteessai.h"
#include "fichierini.h"
#include "lectureliste.h"
#include "reponseliste.h"
#include "tableauliste.h"
#include "verificationliste.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

// Each list line written "code×quantity", or "!text" for a line without a valid code.
static QString resume(const QList<LigneListe> &lignes)
{
    QStringList sortie;
    for (const LigneListe &l : lignes)
        sortie << (l.valide() ? l.code + u'×' + QString::number(l.quantite) : u'!' + l.texte);
    return sortie.join(QStringLiteral(" | "));
}

// A wholesaler on 127.0.0.1 whose reply holds those lines ("request line:code", available), noting how
// many lines each request asked.
class Repartiteur : public QTcpServer {
public:
    explicit Repartiteur(const QStringList &lignes = {})
    {
        QByteArray corps = "<?xml version=\"1.0\"?><CSRP_ENVELOPPE><CORPS><MESSAGE_REPARTITEUR><CORPS>"
                           "<REP_INFO_PRODUIT>";
        for (const QString &l : lignes)
            corps += "<LIGNE Num_Ligne=\"1\" Num_Ligne_Demande=\"" + l.section(u':', 0, 0).toLatin1() +
                     "\" Code_Produit=\"" + l.section(u':', 1).toLatin1() + "\"><DISPO/></LIGNE>";
        corps += "</REP_INFO_PRODUIT></CORPS></MESSAGE_REPARTITEUR></CORPS></CSRP_ENVELOPPE>";
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this, corps] {
            QTcpSocket *s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s, corps] {
                const QByteArray recu = s->peek(s->bytesAvailable());
                if (!recu.endsWith("</CSRP_ENVELOPPE>\r\n"))
                    return;
                lignesDemandees << int(recu.count("<LIGNE "));
                s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(corps.size()) +
                         "\r\n\r\n" + corps);
            });
        });
    }
    // The list checked here as account 1 of settings in a temporary folder: the account's answers.
    ReponsesCompte verifie(const QList<LigneListe> &liste)
    {
        QTemporaryDir dossier;
        FichierINI::setRepertoireProgramme(dossier.path());
        ecritCompte(1, {.url = "http://127.0.0.1/p", .port = serverPort(), .client = "1"});
        VerificationListe verification;
        QSignalSpy fin(&verification, &VerificationListe::terminee);
        verification.lance(liste, {1});
        return fin.wait(10000) ? verification.comptes().value(0) : ReponsesCompte();
    }
    QList<int> lignesDemandees;
};

class TestLectureListe : public QObject {
    Q_OBJECT
private slots:
    void lignes_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("liste");
        QTest::newRow("typed codes, blank lines, CR LF") << "3582910\r\n\r\n  2756339 \r\n"
                                                         << "3582910×1 | 2756339×1";
        QTest::newRow("code and quantity, typed") << "3582910 3\n3582910,2"
                                                  << "3582910×5";
        QTest::newRow("spreadsheet row: number, code, dose in the name, quantity")
            << "1\t3582910\tDOLIPRANE 1000 MG CPR B/8\t2"
            << "3582910×2";
        QTest::newRow("French CSV with quotes and a header")
            << "\"Code\";\"Libellé\";\"Prix\";\"Qté\"\n\"3153342\";\"SPASFON\";\"3,95\";\"4\""
            << "3153342×4";
        QTest::newRow("header: the price before the quantity is no quantity")
            << "Code\tDésignation\tPrix HT\tQté\n3582910\tDOLIPRANE\t2\t5\n3153342\tSPASFON\t3\t\n"
            << "3582910×5 | 3153342×1";
        QTest::newRow("header in other spellings and orders")
            << "QUANTITE;Libellé;cip13\n2;DOLIPRANE;3400935829108\n7;SPASFON;3153342"
            << "3400935829108×2 | 3153342×7";
        QTest::newRow("header: Qty and EAN, comma-separated") << "qty,ean\n3,3153342"
                                                              << "3153342×3";
        QTest::newRow("header: CIP and Quantité, with a line whose code cell is no code")
            << "N°\tCIP\tQuantité\n1\t3153342\t2\n2\tDOLIPRANE\t3582910"
            << "3153342×2 | !2\tDOLIPRANE\t3582910";
        QTest::newRow("a code column without a quantity column is no header") << "Code\tPrix\n3582910\t2"
                                                                              << "!Code\tPrix | 3582910×2";
        QTest::newRow("only the first line can be a header") << "3582910\nCode;Qté\n3153342;4"
                                                             << "3582910×1 | !Code;Qté | 3153342×4";
        QTest::newRow("a CIP and its CIP13 are one line, as first given")
            << "3582910,2\n3400935829108,3\n3400931533429\n3153342"
            << "3582910×5 | 3400931533429×2";
        QTest::newRow("quantity 0 or of six digits is no quantity") << "3582910;0;123456"
                                                                    << "3582910×1";
        QTest::newRow("CIP13 checked") << "3400935829108\n3400935829107"
                                       << "3400935829108×1 | !3400935829107";
        QTest::newRow("check digit 0, in a CIP13 and a GS1 string; 1 is wrong there")
            << "3400935829030\n0103400935829030\n3400935829031\n0103400935829031"
            << "3400935829030×2 | !3400935829031 | !0103400935829031";
        QTest::newRow("numbers of other lengths") << "358291 35829100\nDoliprane"
                                                  << "!358291 35829100 | !Doliprane";
        QTest::newRow("GS1 string of a box, with and without symbology identifier")
            << "010340093582910817270131 10LOT42\n]d2010340093582910821ABC"
            << "3400935829108×2";
        QTest::newRow("GS1 string of a case (indicator 1) or with a wrong check digit")
            << "0113400935829105\n0103400935829107"
            << "!0113400935829105 | !0103400935829107";
        QTest::newRow("quantities add up to the maximum") << "3582910,99999\n3582910,5"
                                                          << "3582910×99999";
    }

    void lignes()
    {
        QFETCH(QString, texte);
        QList<LigneListe> lignes;
        LectureListe::ajoute(lignes, LectureListe::lis(texte));
        QTEST(resume(lignes), "liste");
    }

    // Two accounts' answers, their prices "NATURE=amount" joined by spaces, "-" first when not available, ""
    // for no answer: the cheaper and the nature compared.
    void moinsCher_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("moinsCher"); // "0 NETHT", "1 PHAHT" or "" for none
        QTest::newRow("net price first, as real replies differ") << "PHAHT=16.360 NETHT=13.910"
                                                                 << "PHAHT=15.000 NETHT=14.200"
                                                                 << "0 NETHT";
        QTest::newRow("list price when a side has no net price") << "PHAHT=16.360 NETHT=13.910"
                                                                 << "PHAHT=15.000"
                                                                 << "1 PHAHT";
        QTest::newRow("equal net prices decide nothing") << "PHAHT=2 NETHT=1.5"
                                                         << "PHAHT=3 NETHT=1.500"
                                                         << "";
        QTest::newRow("no purchase price on a side") << "PUBTC=2"
                                                     << "PHAHT=1 NETHT=1"
                                                     << "";
        QTest::newRow("equal list prices decide nothing") << "PHAHT=2.5"
                                                          << "PHAHT=2.50"
                                                          << "";
        QTest::newRow("only the first has it") << "PHAHT=9"
                                               << "-PHAHT=1"
                                               << "";
        QTest::newRow("only the second has it") << "-NETHT=1"
                                                << "NETHT=9"
                                                << "";
        QTest::newRow("only the first answered") << "NETHT=9"
                                                 << ""
                                                 << "";
        QTest::newRow("only the second answered") << ""
                                                  << "NETHT=9"
                                                  << "";
    }

    void moinsCher()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QList<ReponsesCompte> comptes(2);
        for (int k = 0; k < 2; ++k) {
            const QString prix = k == 0 ? a : b;
            if (prix.isEmpty())
                continue;
            ReponseCode r{ReponseCode::Etat::Repondue, {}, {}, {}};
            r.ligne.disponibilite =
                prix.startsWith(u'-') ? Disponibilite::NonDisponible : Disponibilite::Disponible;
            for (const QString &p : QString(prix).remove(u'-').split(u' '))
                r.ligne.prix.append({p.section(u'=', 0, 0), p.section(u'=', 1)});
            comptes[k].parCode.insert(QStringLiteral("3582910"), r);
        }
        const std::optional<ReponseListe::Comparaison> c =
            TableauListe::comparePrix(comptes, QStringLiteral("3582910"));
        QTEST(c ? QString::number(c->moinsCher) + u' ' + c->nature : QString(), "moinsCher");
    }

    // Every coded reason is named; from 8 on, and for none, the wholesaler's own words.
    void motifs()
    {
        QStringList vus;
        for (const char *code : {"0", "1", "0007", "8", "1000", "x"}) {
            LigneReponse ligne;
            ligne.disponibilite = Disponibilite::NonDisponible;
            ligne.codeReponse = QString::fromLatin1(code);
            ligne.additif = QStringLiteral("additif");
            vus << ReponseListe::motif(ligne);
        }
        QCOMPARE(vus, (QStringList{"additif", "Produit inconnu", "Produit non autorisé", "additif", "additif",
                                   "additif"}));
    }

    // A list checked at a wholesaler on 127.0.0.1 whose reply holds those lines: which line each code gets.
    void lignesDeLaReponse_data()
    {
        QTest::addColumn<QString>("liste");
        QTest::addColumn<QStringList>("lignes"); // "request line:code" of each reply line, available
        QTest::addColumn<QStringList>("reponses");
        QTest::newRow("a CIP7 and its CIP13, each its own")
            << "3582910\n3400935829108" << QStringList{"1:3582910", "2:3400935829108"}
            << QStringList{"3582910 Disponible", "3400935829108 Disponible"};
        QTest::newRow("answered by the CIP13, in another order")
            << "3582910\n3153342" << QStringList{"2:3400931533429", "1:3582910"}
            << QStringList{"3582910 Disponible", "3153342 Disponible"};
        QTest::newRow("another product in a code's place")
            << "3582910\n3153342" << QStringList{"1:2756339", "2:3153342"}
            << QStringList{"3582910 Autre réponse Réponse pour un autre produit : 2756339",
                           "3153342 Disponible"};
        QTest::newRow("a code never asked, at no request line")
            << "3582910" << QStringList{"7:2756339"} << QStringList{"3582910 Absent de la réponse"};
    }

    void lignesDeLaReponse()
    {
        QFETCH(QString, liste);
        QFETCH(QStringList, lignes);
        const QList<LigneListe> codes = LectureListe::lis(liste);
        const ReponsesCompte compte = Repartiteur(lignes).verifie(codes);
        QStringList vues;
        for (const LigneListe &l : codes) {
            const ReponseCode r = compte.parCode.value(l.code);
            vues << QStringList{l.code, TableauListe::etat(r), TableauListe::motifLigne(r)}
                        .join(u' ')
                        .trimmed();
        }
        QTEST(vues, "reponses");
    }

    // The valid codes of a list go at most 50 to a request.
    void lots_data()
    {
        QTest::addColumn<int>("codes");
        QTest::addColumn<QList<int>>("lignes"); // asked by each request
        QTest::newRow("49") << 49 << QList<int>{49};
        QTest::newRow("50") << 50 << QList<int>{50};
        QTest::newRow("51") << 51 << QList<int>{50, 1};
        QTest::newRow("101") << 101 << QList<int>{50, 50, 1};
    }

    void lots()
    {
        QFETCH(int, codes);
        QList<LigneListe> liste;
        for (int i = 0; i < codes; ++i)
            liste.append({QString::number(3000000 + i), 1, {}});
        Repartiteur repartiteur;
        repartiteur.verifie(liste);
        QTEST(repartiteur.lignesDemandees, "lignes");
    }

    // Codes and amounts as shown: a CIP becomes its CIP13; an amount as received, in French, loses only its
    // leading zeros, a text of zeros being zero.
    void conversions_data()
    {
        QTest::addColumn<bool>("montant");
        QTest::addColumn<QString>("recu");
        QTest::addColumn<QString>("affiche");
        QTest::newRow("CIP") << false << "3582910"
                             << "3400935829108";
        QTest::newRow("CIP13 as it is") << false << "3400935829108"
                                        << "3400935829108";
        QTest::newRow("not a CIP") << false << "358291A"
                                   << "358291A";
        QTest::newRow("zeros only") << true << "0000"
                                    << "0,00";
        QTest::newRow("zero with zero decimals") << true << "000.000"
                                                 << "0,00";
        QTest::newRow("no integer part") << true << ".5"
                                         << "0,50";
        QTest::newRow("leading zeros") << true << "0001.570"
                                       << "1,57";
        QTest::newRow("a comma is no plain number") << true << "0,00"
                                                    << "0,00";
    }
    void conversions()
    {
        QFETCH(bool, montant);
        QFETCH(QString, recu);
        QTEST(montant ? ReponseListe::montant(recu) : CodeProduit::cip13(recu), "affiche");
    }

    // What the one GS1 reader makes of what scanners type: "CIP13 expiry lot serial", or the error's message.
    void codesGs1_data()
    {
        QTest::addColumn<QString>("scan");
        QTest::addColumn<QString>("lu");
        const QString tout = QStringLiteral("3400935829108 2028-12-31 LOT42 SN7");
        const QString pasDeCip = QStringLiteral("Code 2D non reconnu : pas de code CIP13 !");
        const QString incomplet = QStringLiteral("Code 2D incomplet : scannez la boîte à nouveau !");
        const QString date = QStringLiteral("Code 2D non reconnu : date de péremption invalide !");
        QTest::newRow("separator 0x1D") << "01034009358291081728123110LOT42\x1D"
                                           "21SN7"
                                        << tout;
        QTest::newRow("no separator: the lot runs to the end") << "01034009358291081728123110LOT4221SN7"
                                                               << "3400935829108 2028-12-31 LOT4221SN7 ";
        QTest::newRow("serial first, AI 01 last") << "21SN7\x1D"
                                                     "10LOT42\x1D"
                                                     "172812310103400935829108"
                                                  << tout;
        QTest::newRow("Data Matrix identifier, leading FNC1") << "]d2\x1D"
                                                                 "01034009358291081728123110LOT42\x1D"
                                                                 "21SN7"
                                                              << tout;
        QTest::newRow("GS1-128 identifier") << "]C1010340093582910817281200"
                                            << "3400935829108 2028-12-31  ";
        QTest::newRow("QR identifier, expiry day 00 of February 2028") << "]Q3010340093582910817280200"
                                                                       << "3400935829108 2028-02-29  ";
        QTest::newRow("printed form") << "(01)03400935829108(17)281231(10)LOT42(21)SN7" << tout;
        QTest::newRow("no AI 01") << "1728123110LOT42" << pasDeCip;
        QTest::newRow("letters in AI 01") << "]d201034009358291A8" << pasDeCip;
        QTest::newRow("GTIN of a case") << "0113400935829105" << pasDeCip;
        QTest::newRow("wrong check digit") << "0103400935829107" << pasDeCip;
        QTest::newRow("check digit 0") << "010340093582903017281231"
                                       << "3400935829030 2028-12-31  ";
        QTest::newRow("printed GTIN of 13 digits") << "(01)3400935829108" << pasDeCip;
        QTest::newRow("expiry month 13") << "010340093582910817281331" << date;
        QTest::newRow("expiry of letters") << "(01)03400935829108(17)AB1231" << date;
        QTest::newRow("cut in the GTIN") << "]d20103400935" << incomplet;
        QTest::newRow("printed form cut") << "(01)03400935829108(17" << incomplet;
        QTest::newRow("100 characters")
            << "010340093582910810" + QString(82, u'A') << "3400935829108  " + QString(82, u'A') + u' ';
        QTest::newRow("101 characters")
            << "010340093582910810" + QString(83, u'A') << "Code 2D non reconnu : plus de 100 caractères !";
    }

    void codesGs1()
    {
        QFETCH(QString, scan);
        QVERIFY(CodeGs1::estCodeGs1(scan));
        const CodeGs1::Lecture l = CodeGs1::lis(scan);
        const QStringList elements{l.cip13, l.peremption.toString(Qt::ISODate), l.lot, l.serie};
        QTEST(l.erreur ? CodeGs1::message(*l.erreur) : elements.join(u' '), "lu");
    }
};

QTEST_GUILESS_MAIN(TestLectureListe)
#include "tst_lectureliste.moc"
