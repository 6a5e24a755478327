#include "decodeurretour.h"

#include "piege.h"
#include "textesechec.h"

#include <QRegularExpression>

namespace DecodeurRetour {

namespace {

QString attribut(const Xml::Noeud &noeud, QStringView nom)
{
    return noeud.attribut(nom).value_or(QString());
}

Xml::Noeud premier(const Xml::Noeud &dans, QStringView nom)
{
    return dans.elementsParNom(nom).value(0);
}

// The first of either name: NON_DISPO holds the _ND forms, AUTRE the _AU ones.
Xml::Noeud premierDe(const Xml::Noeud &dans, QStringView nd, QStringView au)
{
    const Xml::Noeud noeud = premier(dans, nd);
    return noeud.estAbsent() ? premier(dans, au) : noeud;
}

// The attribute when it has the schema's form (whitespace around it collapsed, as the schema
// does), else "".
QString attributDeForme(const Xml::Noeud &noeud, QStringView nom, const QRegularExpression &forme)
{
    const QString valeur = attribut(noeud, nom).trimmed();
    return forme.match(valeur).hasMatch() ? valeur : QString();
}

// INFOS_DISPO_ND / INFOS_DISPO_AU: each value that breaks its form is dropped alone.
RetourPrevu retourPrevu(const Xml::Noeud &infos)
{
    static const QRegularExpression date(QStringLiteral(R"(^[0-9]{4}-[0-9]{2}-[0-9]{2}$)"));
    static const QRegularExpression heure(QStringLiteral(R"(^([01][0-9]|2[0-3]):[0-5][0-9]$)"));
    static const QRegularExpression quantite(QStringLiteral(R"(^\+?0*[1-9][0-9]*$)"));
    RetourPrevu r;
    r.date = QDate::fromString(attributDeForme(infos, u"Date", date), Qt::ISODate);
    r.heure = attributDeForme(infos, u"Heure", heure);
    r.quantite = attributDeForme(infos, u"Quantite", quantite);
    return r;
}

// PRODUIT_REMPLACANT_ND / PRODUIT_REMPLACANT_AU with its own PRIX_ND / PRIX_AU.
Remplacant remplacant(const Xml::Noeud &produit)
{
    Remplacant r;
    if (produit.estAbsent())
        return r;
    r.typeRemplacement = attribut(produit, u"Type_Remplacement").trimmed();
    r.typeCodification = attribut(produit, u"Type_Codification");
    r.codeProduit = attribut(produit, u"Code_Produit").trimmed();
    r.designation = attribut(produit, u"Designation");
    for (const Xml::Noeud &prix : produit.elementsParNom(u"PRIX_ND") + produit.elementsParNom(u"PRIX_AU"))
        r.prix.append({attribut(prix, u"Nature"), attribut(prix, u"Valeur")});
    return r;
}

// What an ERREUR element says (TextesEchec::erreurRepartiteur).
QString texteErreur(const Xml::Noeud &erreur)
{
    return TextesEchec::erreurRepartiteur(attribut(erreur, u"Statut"), attribut(erreur, u"Detail"),
                                          attribut(erreur, u"Description_libre"));
}

// Text of the first element of that name in the document; "" when there is none.
QString PML_TexteElement(const Xml::Document &document, const QString &balise)
{
    try {
        const QList<Xml::Noeud> elements = document.elementsParNom(balise);
        return elements.isEmpty() ? QString() : elements.first().texte();
    } catch (const std::exception &) {
        return {};
    }
}

// Attribute of the first element of that name; "" when the element or the attribute is missing.
QString PML_TexteAttribut(const Xml::Document &document, const QString &balise, const QString &attribut)
{
    try {
        const QList<Xml::Noeud> elements = document.elementsParNom(balise);
        return elements.isEmpty() ? QString() : elements.first().attribut(attribut).value_or(QString());
    } catch (const std::exception &) {
        return {};
    }
}

// The message bodies of the envelopes, looked for from the second top-level node: the first is
// never examined.
ResultatEchange parcoursEnveloppes(const Xml::Document &document)
{
    const QList<Xml::Noeud> tete = document.noeudsDeTete();
    // The declaration, when the reply opens with one, is that first node (it is no node here).
    for (qsizetype i = document.aDeclarationXml() ? 0 : 1; i < tete.size(); ++i) {
        const Xml::Noeud &enveloppe = tete[i];
        if (!enveloppe.estElement() || enveloppe.nom() != QLatin1String("CSRP_ENVELOPPE"))
            continue;
        const Xml::Noeud corpsEnveloppe = enveloppe.premierEnfant(u"CORPS");
        // A wholesaler that refuses the envelope itself answers with an ERREUR there.
        if (const Xml::Noeud erreur = corpsEnveloppe.premierEnfant(u"ERREUR"); !erreur.estAbsent())
            return ResultatEchange::echec(texteErreur(erreur));
        const Xml::Noeud corps = corpsEnveloppe.premierEnfant(u"MESSAGE_REPARTITEUR").premierEnfant(u"CORPS");
        if (corps.estAbsent())
            continue;
        for (const Xml::Noeud &enfant : corps.enfants()) {
            if (!enfant.estElement())
                continue;
            const QString nom = enfant.nom();
            if (nom == QLatin1String("REP_INFO_PRODUIT"))
                return decodeCorps(corps.serialise());
            if (nom == QLatin1String("ERREUR"))
                return ResultatEchange::echec(texteErreur(enfant));
        }
    }
    return {};
}

} // namespace

ResultatEchange decode(QByteArrayView retour)
{
    ResultatEchange resultat;
    Echec::piege(
        QStringLiteral("PML_TraiteRetour"), Echec::Forme::Parentheses,
        [&resultat](const QString &message) { resultat = ResultatEchange::echec(message); },
        [&] {
            const Xml::Document document = Xml::Document::depuisOctets(retour);
            if (!document.estAnalyse())
                resultat = ResultatEchange::echec(QStringLiteral("Retour non conforme"));
            else if (PML_TexteElement(document, QStringLiteral("ACTION")) == QLatin1String("FIN_SERVICE"))
                resultat = ResultatEchange::echec(QStringLiteral("Retour : fin de service"));
            else if (const QString detail =
                         PML_TexteAttribut(document, QStringLiteral("ERREUR"), QStringLiteral("Detail"));
                     !detail.isEmpty())
                resultat = ResultatEchange::echec(QStringLiteral("Retour : Erreur ") + detail);
            else
                resultat = parcoursEnveloppes(document);
        });
    return resultat;
}

ResultatEchange decodeCorps(const QString &corps)
{
    ResultatEchange resultat;
    resultat.issue = ResultatEchange::Issue::Lignes;
    Echec::piege(
        QStringLiteral("PML_RetourInfosProduit"), Echec::Forme::RetourChariot,
        [&resultat](const QString &message) {
            resultat.issue = ResultatEchange::Issue::Echec;
            resultat.message = message;
        },
        [&] {
            const Xml::Document document = Xml::Document::depuisTexte(corps);
            for (const Xml::Noeud &ligne : document.elementsParNom(u"LIGNE"))
                resultat.lignes.append(decodeLigne(ligne));
        });
    return resultat;
}

LigneReponse decodeLigne(const Xml::Noeud &ligne)
{
    LigneReponse l;
    if (ligne.estAbsent())
        return l;
    l.codeProduit = attribut(ligne, u"Code_Produit");
    const std::optional<QString> numero = ligne.attribut(u"Num_Ligne_Demande");
    l.numLigneDemande = (numero ? *numero : attribut(ligne, u"Num_Ligne")).trimmed().toInt();
    try {
        l.designation = attribut(ligne, u"Designation");
    } catch (const std::exception &) {
        // An unreadable designation is an empty one.
        l.designation.clear();
    }
    for (const Xml::Noeud &prix : ligne.elementsParNom(u"PRIX")) {
        const std::optional<QString> nature = prix.attribut(u"Nature");
        const std::optional<QString> valeur = prix.attribut(u"Valeur");
        if ((!nature || !valeur) && l.prixIncomplet < 0)
            l.prixIncomplet = l.prix.size();
        l.prix.append({nature.value_or(QString()), valeur.value_or(QString())});
    }
    Xml::Noeud raison = premier(ligne, u"NON_DISPO");
    if (!raison.estAbsent()) {
        l.disponibilite = Disponibilite::NonDisponible;
    } else {
        if (!premier(ligne, u"DISPO").estAbsent())
            l.disponibilite = Disponibilite::Disponible;
        else
            raison = premier(ligne, u"AUTRE");
    }
    l.codeReponse = attribut(raison, u"Code_Reponse");
    l.additif = attribut(raison, u"Additif");
    l.commentaire = attribut(raison, u"Commentaire");
    l.dateEffet = attribut(raison, u"Date_Effet");
    l.retourPrevu = retourPrevu(premierDe(raison, u"INFOS_DISPO_ND", u"INFOS_DISPO_AU"));
    l.remplacant = remplacant(premierDe(raison, u"PRODUIT_REMPLACANT_ND", u"PRODUIT_REMPLACANT_AU"));
    return l;
}

} // namespace DecodeurRetour
