#include "messages.h"

#include "base64.h"
#include "catalogue.h"
#include "clsmd5.h"

#include <QDateTime>
#include <QXmlStreamReader>

namespace MessagesSim {

namespace {

QString attr(QString value)
{
    value.replace(u'&', QStringLiteral("&amp;"));
    value.replace(u'<', QStringLiteral("&lt;"));
    value.replace(u'>', QStringLiteral("&gt;"));
    value.replace(u'"', QStringLiteral("&quot;"));
    return value;
}

QString maintenant()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

// Envelope attributes and message-level ids must not be empty; a request that lacks them still
// gets a well-formed answer.
QString ouDefaut(const QString &value, const char *defaut)
{
    return value.isEmpty() ? QString::fromLatin1(defaut) : value;
}

QByteArray enveloppe(const Requete &r, const QString &refReponse, const QString &corps)
{
    const QString date = maintenant();
    QString xml;
    xml += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    xml += QStringLiteral("<CSRP_ENVELOPPE xmlns=\"urn:x-csrp:fr.csrp.protocole:enveloppe\" "
                          "Nature_Action=\"REP_EMISSION\" Version_Protocole=\"1.0.0.0\" "
                          "Id_Logiciel=\"PHARMAMLSIM\" Version_Logiciel=\"1.0.0.0\" Usage=\"P\">\n");
    xml += QStringLiteral("  <ENTETE>\n");
    xml += QStringLiteral(
               "    <EMETTEUR Nature=\"RE\" Code=\"%1\" Id=\"%2\" Adresse=\"REPARTITEUR SIMULE\" />\n")
               .arg(attr(ouDefaut(r.codeRepart, "00")), attr(ouDefaut(r.idRepart, "00")));
    xml += QStringLiteral("    <RECEPTEUR Nature=\"OF\" Code=\"00\" Id=\"%1\" Adresse=\"%2\" />\n")
               .arg(attr(ouDefaut(r.idClient, "0")), attr(ouDefaut(r.adresseClient, "-")));
    xml += QStringLiteral("    <REF_MESSAGE>%1</REF_MESSAGE>\n").arg(attr(refReponse));
    xml += QStringLiteral("    <EN_REPONSE_A>%1</EN_REPONSE_A>\n").arg(attr(ouDefaut(r.refMessage, "0")));
    xml += QStringLiteral("    <DATE>%1</DATE>\n").arg(date);
    xml += QStringLiteral("  </ENTETE>\n");
    xml += QStringLiteral("  <CORPS>") + corps + QStringLiteral("</CORPS>\n");
    xml += QStringLiteral("</CSRP_ENVELOPPE>\n");
    return xml.toUtf8();
}

QString messageRepartiteur(const Requete &r, const QString &corps)
{
    return QStringLiteral(
               "<MESSAGE_REPARTITEUR xmlns=\"urn:x-csrp:fr.csrp.protocole:message\"><ENTETE>"
               "<EMETTEUR Code_Societe=\"%1\" Id_Societe=\"%2\" /><DESTINATAIRE Id_Client=\"%3\" />"
               "<DATE>%4</DATE></ENTETE><CORPS>")
               .arg(attr(ouDefaut(r.codeRepart, "00")), attr(ouDefaut(r.idRepart, "00")),
                    attr(ouDefaut(r.idClient, "0")), maintenant()) +
           corps + QStringLiteral("</CORPS></MESSAGE_REPARTITEUR>");
}

// An amount at `pourcent` % of the catalogue's, with the three decimals wholesalers write.
QString valeur(const QString &catalogue, int pourcent)
{
    if (pourcent == 100)
        return catalogue;
    return QString::number(catalogue.toDouble() * pourcent / 100, 'f', 3);
}

// INFOS_DISPO_xx and PRODUIT_REMPLACANT_xx of a missing product, in the schema's order; `suffixe` is ND
// inside NON_DISPO, AU inside AUTRE.
QString quandEtQuoi(const QString &cip, const QString &suffixe, int pourcentPrix)
{
    QString xml;
    const std::optional<Catalogue::QuandEtQuoi> q = Catalogue::quandEtQuoi(cip);
    if (!q)
        return xml;
    const Catalogue::QuandEtQuoi &p = *q;
    if (p.retourDansJours > 0) {
        xml += QStringLiteral("<INFOS_DISPO_%1 Date=\"%2\"")
                   .arg(suffixe, QDate::currentDate().addDays(p.retourDansJours).toString(Qt::ISODate));
        if (!p.heureRetour.isEmpty())
            xml += QStringLiteral(" Heure=\"%1\"").arg(p.heureRetour);
        if (!p.quantiteRetour.isEmpty())
            xml += QStringLiteral(" Quantite=\"%1\"").arg(p.quantiteRetour);
        xml += QStringLiteral(" />");
    }
    if (!p.codeRemplacant.isEmpty()) {
        xml += QStringLiteral("<PRODUIT_REMPLACANT_%1 Type_Remplacement=\"%2\" Type_Codification=\"%3\" "
                              "Code_Produit=\"%4\" Designation=\"%5\">")
                   .arg(suffixe, p.typeRemplacement,
                        p.codeRemplacant.size() == 13 ? QStringLiteral("EAN13") : QStringLiteral("CIP39"),
                        p.codeRemplacant, attr(p.designationRemplacant));
        for (const Catalogue::Prix &prix : p.prixRemplacant)
            xml += QStringLiteral("<PRIX_%1 Nature=\"%2\" Valeur=\"%3\" />")
                       .arg(suffixe, prix.nature, valeur(prix.valeur, pourcentPrix));
        xml += QStringLiteral("</PRODUIT_REMPLACANT_%1>").arg(suffixe);
    }
    return xml;
}

// An element that holds `contenu`, or closes at once without it.
QString element(const QString &ouverture, const QString &nom, const QString &contenu)
{
    if (contenu.isEmpty())
        return ouverture + QStringLiteral(" />");
    return ouverture + u'>' + contenu + QStringLiteral("</") + nom + u'>';
}

QString ligne(const LigneDemandee &demande, int numero, int pourcentPrix, const QSet<QString> &manquants)
{
    auto produit = Catalogue::cherche(demande.codeProduit);
    if (produit && manquants.contains(produit->cip)) {
        produit->disponible = false;
        produit->codeReponse = QStringLiteral("0005");
        produit->additif = QStringLiteral("Manque Rayon");
    }
    QString xml =
        QStringLiteral("<LIGNE Num_Ligne=\"%1\" Num_Ligne_Demande=\"%2\" Type_Codification=\"%3\" "
                       "Code_Produit=\"%4\"")
            .arg(numero)
            .arg(attr(ouDefaut(demande.numLigne, "1")), attr(ouDefaut(demande.typeCodification, "CIP39")),
                 attr(ouDefaut(demande.codeProduit, "0")));
    if (!produit)
        return xml +
               QStringLiteral("><NON_DISPO Code_Reponse=\"0001\" Additif=\"Produit inconnu\" /></LIGNE>");
    xml += QStringLiteral(" Designation=\"%1\">").arg(attr(produit->designation));
    for (const Catalogue::Prix &p : produit->prix)
        xml += QStringLiteral("<PRIX Nature=\"%1\" Valeur=\"%2\" />")
                   .arg(p.nature, valeur(p.valeur, pourcentPrix));
    if (produit->disponible)
        xml += QStringLiteral("<DISPO />");
    else if (produit->codeReponse.isEmpty())
        xml +=
            element(QStringLiteral("<AUTRE Commentaire=\"%1\"").arg(attr(produit->additif)),
                    QStringLiteral("AUTRE"), quandEtQuoi(produit->cip, QStringLiteral("AU"), pourcentPrix));
    else
        xml += element(QStringLiteral("<NON_DISPO Code_Reponse=\"%1\" Additif=\"%2\"")
                           .arg(attr(produit->codeReponse), attr(produit->additif)),
                       QStringLiteral("NON_DISPO"),
                       quandEtQuoi(produit->cip, QStringLiteral("ND"), pourcentPrix));
    return xml + QStringLiteral("</LIGNE>");
}

} // namespace

Requete lit(QByteArrayView corps)
{
    Requete r;
    QXmlStreamReader xml(QByteArray(corps.data(), corps.size()));
    bool enveloppeEmetteurLu = false;
    bool enveloppeRecepteurLu = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto nom = xml.name();
        const auto a = xml.attributes();
        if (nom == u"EMETTEUR" && !enveloppeEmetteurLu) {
            enveloppeEmetteurLu = true;
            r.idClient = a.value(QLatin1String("Id")).toString();
            r.adresseClient = a.value(QLatin1String("Adresse")).toString();
        } else if (nom == u"RECEPTEUR" && !enveloppeRecepteurLu) {
            enveloppeRecepteurLu = true;
            r.codeRepart = a.value(QLatin1String("Code")).toString();
            r.idRepart = a.value(QLatin1String("Id")).toString();
        } else if (nom == u"REF_MESSAGE" && r.refMessage.isEmpty()) {
            r.refMessage = xml.readElementText();
        } else if (nom == u"REQ_INFO_PRODUIT") {
            r.refDemande = a.value(QLatin1String("Ref_Req_Info_Produit")).toString();
        } else if (nom == u"LIGNE") {
            r.lignes.append({a.value(QLatin1String("Num_Ligne")).toString(),
                             a.value(QLatin1String("Type_Codification")).toString(),
                             a.value(QLatin1String("Code_Produit")).toString()});
        }
    }
    r.lisible = !xml.hasError();
    return r;
}

QString empreinte(QByteArrayView corps, const QString &numeroClient, const QString &clef)
{
    QByteArray entree(corps.data(), corps.size());
    entree += numeroClient.leftJustified(16, u'0').toUtf8();
    entree += clef.left(4).toUtf8();
    return Base64().EncodeArray64OneLine(ClsMD5().MD5_bytes(entree, qint32(entree.size())));
}

QByteArray repInfoProduit(const Requete &requete, const QString &refReponse, int pourcentPrix,
                          const QSet<QString> &manquants)
{
    // A product answer needs at least one line.
    if (requete.lignes.isEmpty())
        return erreur(requete, refReponse, QStringLiteral("Demande sans ligne produit"));
    QString lignes;
    for (int i = 0; i < requete.lignes.size(); ++i)
        lignes += ligne(requete.lignes[i], i + 1, pourcentPrix, manquants);
    const QString corps = QStringLiteral("<REP_INFO_PRODUIT Ref_Demande_Info=\"%1\" Ref_Reponse_Info=\"%2\">")
                              .arg(attr(ouDefaut(requete.refDemande, "0")), attr(refReponse)) +
                          lignes + QStringLiteral("</REP_INFO_PRODUIT>");
    return enveloppe(requete, refReponse, messageRepartiteur(requete, corps));
}

QByteArray finService(const Requete &requete, const QString &refReponse)
{
    return enveloppe(requete, refReponse, QStringLiteral("<ACTION>FIN_SERVICE</ACTION>"));
}

QByteArray erreur(const Requete &requete, const QString &refReponse, const QString &detail, int statut)
{
    return enveloppe(
        requete, refReponse,
        messageRepartiteur(
            requete, QStringLiteral("<ERREUR Statut=\"%1\" Detail=\"%2\" />").arg(statut).arg(attr(detail))));
}

} // namespace MessagesSim
