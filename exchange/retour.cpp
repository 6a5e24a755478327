// How the one-product query shows a decoded reply in the result area.
#include "modpharmaml.h"

#include "decodeurretour.h"
#include "runtimeerror.h"

#include <QPointer>

#include <array>
#include <optional>

namespace {

struct Libelle {
    QLatin1StringView nature;
    QStringView libelle;
};

const std::array<Libelle, 9> libelles{{
    {QLatin1StringView("PHAHT"), u"Prix d'achat HT hors remise = "},
    {QLatin1StringView("CATHT"), u"Prix catalogue HT = "},
    {QLatin1StringView("PUBTC"), u"Prix public TTC = "},
    {QLatin1StringView("CALTC"), u"Prix public TTC calculé = "},
    {QLatin1StringView("LPPR"), u"Base LPPR = "},
    {QLatin1StringView("CSLTC"), u"Prix TTC conseillé = "},
    {QLatin1StringView("TFR"), u"Base TFR = "},
    {QLatin1StringView("NETHT"), u"Prix achat HT = "},
    {QLatin1StringView("PTCBT"), u"Prix public TTC boîte = "},
}};

constexpr qsizetype prixAffiches = 3;

} // namespace

void ModPharmaML::PML_TraiteRetour(const QByteArray &retour) {
    afficheResultat(DecodeurRetour::decode(retour));
}

void ModPharmaML::PML_RetourInfosProduit(const QString &corps) {
    afficheResultat(DecodeurRetour::decodeCorps(corps));
}

void ModPharmaML::afficheResultat(const ResultatEchange &resultat) {
    // A display lets events run, and one of them may close the window and us with it.
    const QPointer<QObject> vivant = &m_gardien;
    for (const LigneReponse &ligne : resultat.lignes) {
        afficheLigne(ligne);
        if (!vivant)
            return;
    }
    if (!resultat.message.isEmpty())
        piege(QStringLiteral("PML_TraiteRetour"), [&] { PML_AfficheErreur(resultat.message); });
}

QString ModPharmaML::PML_DecodeUneLigneProduit(Xml::Noeud ligne) {
    if (ligne.estAbsent())
        return {};
    std::optional<LigneReponse> lue;
    piege(QStringLiteral("PML_DecodeUneLigneProduit"), [&] { lue = DecodeurRetour::decodeLigne(ligne); });
    return lue ? afficheLigne(*lue) : QString();
}

QString ModPharmaML::afficheLigne(const LigneReponse &ligne) {
    QString dispo;
    piege(QStringLiteral("PML_DecodeUneLigneProduit"), [&] {
        QString designation = ligne.designation;
        PML_AfficheDesignation(designation);

        QString s;
        for (qsizetype i = 0; i < ligne.prix.size() && i < prixAffiches; ++i) {
            if (i == ligne.prixIncomplet)
                throw RuntimeError::invalidUseOfNull();
            if (!s.isEmpty())
                s += QLatin1String("\r\n");
            QString montant = ligne.prix[i].valeur;
            s += PML_LibellePrix(ligne.prix[i].nature, montant);
        }
        PML_AfficheInfo(s);

        // Without either, the price lines go to the box, on red.
        if (ligne.disponibilite == Disponibilite::Disponible)
            s = QStringLiteral("DISPONIBLE");
        else if (ligne.disponibilite == Disponibilite::NonDisponible)
            s = QStringLiteral("NON DISPONIBLE \r\n(") + ligne.additif + u')';
        PML_AfficheDispo(s);
        dispo = s;
    });
    return dispo;
}

QString ModPharmaML::PML_LibellePrix(const QString &nature, QString &montant) {
    for (const Libelle &l : libelles)
        if (nature == l.nature)
            return l.libelle.toString() + PML_SupprimeZeros(montant);
    return {};
}

QString ModPharmaML::PML_SupprimeZeros(QString &texte) {
    qsizetype zeros = 0;
    while (zeros < texte.size() && texte[zeros] == u'0')
        ++zeros;
    texte.remove(0, zeros);
    return texte;
}
