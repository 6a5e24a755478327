#include "modpharmaml.h"

#include "exchange/zoneresultatenregistree.h"

#include <QTest>

class TestAffichage : public QObject {
    Q_OBJECT
private slots:
    void init();

    void erreurRedThenInfoBlack();
    void designation_data();
    void designation();
    void dispo_data();
    void dispo();
    void otherAccounts();
    void controleStringXml_data();
    void controleStringXml();
    void filtreTexte_data();
    void filtreTexte();

private:
    ZoneResultatEnregistree m_zone;
};

void TestAffichage::init() {
    m_zone = ZoneResultatEnregistree();
}

void TestAffichage::erreurRedThenInfoBlack() {
    ModPharmaML module(m_zone);
    module.PML_AfficheErreur(QStringLiteral("Retour non conforme"));
    QCOMPARE(m_zone.journal,
             (QStringList{"LabRetour(1) couleur", "LabRetour(1)=Retour non conforme", "txtInfos(1) fond",
                          "txtInfos(1)=\r\nREQUETE EN ERREUR", "evenements"}));
    QCOMPARE(m_zone.labRetour[1].couleur, Couleurs::rouge);
    QCOMPARE(m_zone.txtInfos[1].couleur, Couleurs::rouge);
    // Information is black and leaves the box alone.
    module.PML_AfficheInfo(QStringLiteral("Prix public TTC = 2.50"));
    QCOMPARE(m_zone.labRetour[1].texte, QStringLiteral("Prix public TTC = 2.50"));
    QCOMPARE(m_zone.labRetour[1].couleur, Couleurs::noir);
    QCOMPARE(m_zone.txtInfos[1].texte, QStringLiteral("\r\nREQUETE EN ERREUR"));
    QCOMPARE(m_zone.evenementsDeroules, 1);
}

void TestAffichage::designation_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "DOLIPRANE 1000MG CPR 8" << "DOLIPRANE 1000MG CPR 8";
    QTest::newRow("description") << "description" << "";
    QTest::newRow("DESCRIPTION") << "DESCRIPTION" << "";
    QTest::newRow("longer") << "Description produit" << "Description produit";
}

void TestAffichage::designation() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    m_zone.numRepartCourant = 2;
    m_zone.labRetour[0].couleur = Couleurs::rouge;
    ModPharmaML module(m_zone);
    module.PML_AfficheDesignation(text);
    QCOMPARE(text, shown); // the caller's text too
    QCOMPARE(m_zone.labRetour[0].texte, shown);
    QCOMPARE(m_zone.labRetour[0].ecritures, 1);
    QCOMPARE(m_zone.labRetour[0].couleur, Couleurs::noir);
    QCOMPARE(m_zone.labRetour[2].ecritures + m_zone.txtInfos[2].ecritures, 0);
}

void TestAffichage::dispo_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("green");
    QTest::newRow("DISPONIBLE") << "DISPONIBLE" << true;
    QTest::newRow("small letters") << "disponible" << false;
    QTest::newRow("with a blank") << "DISPONIBLE " << false;
    QTest::newRow("NON DISPONIBLE") << "NON DISPONIBLE \r\n(Manque)" << false;
    QTest::newRow("empty") << "" << false;
}

void TestAffichage::dispo() {
    QFETCH(QString, text);
    QFETCH(bool, green);
    ModPharmaML module(m_zone);
    module.PML_AfficheDispo(text);
    QCOMPARE(m_zone.txtInfos[1].texte, QStringLiteral("\r\n") + text);
    QCOMPARE(m_zone.txtInfos[1].couleur, green ? Couleurs::vert : Couleurs::rouge);
    QCOMPARE(m_zone.journal.last(), QStringLiteral("evenements"));
}

void TestAffichage::otherAccounts() {
    // Account 2 writes its own places only; no account at all writes nothing.
    for (const qint16 compte : {2, 0}) {
        m_zone = ZoneResultatEnregistree();
        m_zone.numRepartCourant = compte;
        ModPharmaML module(m_zone);
        module.PML_AfficheErreur(QStringLiteral("e"));
        module.PML_AfficheInfo(QStringLiteral("i"));
        module.PML_AfficheDispo(QStringLiteral("DISPONIBLE"));
        if (compte == 0)
            module.PML_TraiteRetour(QByteArray("not xml"));
        QCOMPARE(m_zone.labRetour[1].ecritures + m_zone.txtInfos[1].ecritures, 0);
        QCOMPARE(m_zone.labRetour[2].texte, compte ? QStringLiteral("i") : QString());
        QCOMPARE(m_zone.txtInfos[2].texte, compte ? QStringLiteral("\r\nDISPONIBLE") : QString());
        QCOMPARE(m_zone.txtInfos[2].couleur, compte ? Couleurs::vert : CouleurRVB{});
        QCOMPARE(m_zone.journal.isEmpty(), compte == 0);
    }
}

void TestAffichage::controleStringXml_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("line");
    QTest::newRow("well-formed") << "<a><b/></a>" << "" << 0;
    QTest::newRow("empty") << "" << "" << 1;
    QTest::newRow("second line") << "<a>\r\n<b></a>" << "<b></a>" << 2;
    QTest::newRow("ampersand") << "<a v=\"A&B\"/>" << "<a v=\"A&B\"/>" << 1;
}

void TestAffichage::controleStringXml() {
    QFETCH(QString, text);
    QFETCH(QString, source);
    QFETCH(int, line);
    ModPharmaML module(m_zone);
    const QString message = module.PML_ControleStringXML(text);
    if (line == 0) {
        QCOMPARE(message, QString());
        return;
    }
    const QStringList lines = message.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QStringLiteral("Erreur de validation "));
    QVERIFY(lines[1].startsWith(QLatin1String("Raison: ")) && lines[1].size() > 8); // the parser's reason
    QCOMPARE(lines[2], QStringLiteral("Source: ") + source);
    QCOMPARE(lines[3], QStringLiteral("Ligne: ") + QString::number(line));
    QCOMPARE(m_zone.journal, QStringList());
}

void TestAffichage::filtreTexte_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filtered");
    QTest::newRow("example") << "Pharmacie de l'Étoile - Gare" << "Pharmacie de l Etoile   Gare";
    QTest::newRow("ÀÉ") << "ÀÉ" << " E";
    QTest::newRow("whole table") << "àâäáåªçèéêëïîìíñôöòóüùûúÄÅÇÉÑÖÜ" << "aaaaaaceeeeiiiinoooouuuuAACENOU";
    QTest::newRow("capitals outside the table") << "ÀÂÈÊËÎÏÔÙÛ" << "          ";
    QTest::newRow("ligatures") << "œuvre æ" << " uvre  ";
    QTest::newRow("digits and punctuation") << "12, rue du 8-Mai (Nord)!" << "12  rue du 8 Mai  Nord  ";
    QTest::newRow("outside the code page") << "Ж€漢" << "   ";
    QTest::newRow("control characters") << "a\tb\r\nc" << "a b  c";
}

void TestAffichage::filtreTexte() {
    QFETCH(QString, text);
    QFETCH(QString, filtered);
    ModPharmaML module(m_zone);
    QCOMPARE(module.PML_FiltreTexte(text), filtered);
}

QTEST_GUILESS_MAIN(TestAffichage)
#include "tst_affichage.moc"
