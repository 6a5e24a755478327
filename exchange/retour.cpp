// How the one-product query shows a decoded reply in the result area.
#include "modpharmaml.h"

#include "codeproduit.h"
#include "complementsligne.h"
#include "decodeurretour.h"
#include "runtimeerror.h"

#include <QPointer>

#include <algorithm>
#include <array>

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

// The text, then the line after a CR LF when both are there.
QString ajouteLigne(const QString &texte, const QString &ligne)
{
    if (ligne.isEmpty() || texte.isEmpty())
        return texte + ligne;
    return texte + QStringLiteral("\r\n") + ligne;
}

} // namespace

void ModPharmaML::PML_TraiteRetour(const QByteArray &retour)
{
    afficheResultat(DecodeurRetour::decode(retour));
}

void ModPharmaML::afficheResultat(const ResultatEchange &resultat, const QStringList &demandes)
{
    // A display lets events run, and one of them may close the window and us with it.
    const QPointer<QObject> vivant = &m_gardien;
    const QString finLibelle = resultat.secours ? QStringLiteral("(adresse de secours)") : QString();
    const auto repond = [&demandes](const LigneReponse &ligne) {
        const auto demande = [&ligne](const QString &code) {
            return CodeProduit::memeProduit(code, ligne.codeProduit);
        };
        return demandes.isEmpty() || std::any_of(demandes.cbegin(), demandes.cend(), demande);
    };
    const bool reponseTrouvee = std::any_of(resultat.lignes.cbegin(), resultat.lignes.cend(), repond);
    for (const LigneReponse &ligne : resultat.lignes) {
        if (repond(ligne))
            afficheLigne(ligne, finLibelle);
        else if (!reponseTrouvee)
            afficheAutreProduit(ligne, finLibelle);
        if (!vivant)
            return;
    }
    if (!resultat.message.isEmpty())
        piege(QStringLiteral("PML_TraiteRetour"),
              [&] { PML_AfficheErreur(ajouteLigne(resultat.message, finLibelle)); });
}

QString ModPharmaML::afficheLigne(const LigneReponse &ligne, const QString &finLibelle)
{
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
        m_zone.setRemplacant(m_zone.NumRepartCourant(), ligne.remplacant.codeProduit);
        const QString complements = ComplementsLigne::lignes(ligne).join(QStringLiteral("\r\n"));
        PML_AfficheInfo(ajouteLigne(ajouteLigne(s, complements), finLibelle));

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

void ModPharmaML::afficheAutreProduit(const LigneReponse &ligne, const QString &finLibelle)
{
    piege(QStringLiteral("PML_DecodeUneLigneProduit"), [&] {
        m_zone.setRemplacant(m_zone.NumRepartCourant(), QString());
        PML_AfficheInfo(finLibelle);
        // Never as the asked product's availability: in the box, on the colour of any other answer.
        PML_AfficheDispo(QStringLiteral("Réponse pour un autre produit : ") + ligne.codeProduit);
    });
}

QString ModPharmaML::PML_LibellePrix(const QString &nature, QString &montant)
{
    for (const Libelle &l : libelles)
        if (nature == l.nature)
            return l.libelle.toString() + PML_SupprimeZeros(montant);
    return {};
}

QString ModPharmaML::PML_SupprimeZeros(QString &texte)
{
    qsizetype zeros = 0;
    while (zeros < texte.size() && texte[zeros] == u'0')
        ++zeros;
    texte.remove(0, zeros);
    return texte;
}
