#include "modpharmaml.h"

#include "piege.h"

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

} // namespace

void ModPharmaML::PML_TraiteRetour(const QByteArray &retour) {
    piege(QStringLiteral("PML_TraiteRetour"), Forme::Parentheses, [&] {
        const Xml::Document document = Xml::Document::depuisOctets(retour, Xml::espacesEnveloppe);
        if (!document.estAnalyse()) {
            PML_AfficheErreur(QStringLiteral("Retour non conforme"));
            return;
        }
        if (PML_TexteElement(document, QStringLiteral("ACTION")) == QLatin1String("FIN_SERVICE")) {
            PML_AfficheErreur(QStringLiteral("Retour : fin de service"));
            return;
        }
        const QString detail =
            PML_TexteAttribut(document, QStringLiteral("ERREUR"), QStringLiteral("Detail"));
        if (!detail.isEmpty()) {
            PML_AfficheErreur(QStringLiteral("Retour : Erreur ") + detail);
            return;
        }
        parcoursEnveloppe(document);
    });
}

void ModPharmaML::parcoursEnveloppe(const Xml::Document &document) {
    const QList<Xml::Noeud> tete = document.noeudsDeTete();
    // The first top-level node is never examined; in a reply that opens with an XML declaration,
    // that first node is the declaration.
    for (qsizetype i = document.aDeclarationXml() ? 0 : 1; i < tete.size(); ++i) {
        const Xml::Noeud &enveloppe = tete[i];
        if (!enveloppe.estElement() || enveloppe.nom() != QLatin1String("CSRP_ENVELOPPE"))
            continue;
        const Xml::Noeud corps =
            enveloppe.premierEnfant(u"CORPS").premierEnfant(u"MESSAGE_REPARTITEUR").premierEnfant(u"CORPS");
        if (corps.estAbsent())
            continue;
        for (const Xml::Noeud &enfant : corps.enfants()) {
            if (!enfant.estElement())
                continue;
            const QString nom = enfant.nom();
            if (nom == QLatin1String("REP_INFO_PRODUIT")) {
                PML_RetourInfosProduit(corps.serialise());
                return;
            }
            if (nom == QLatin1String("ERREUR")) {
                PML_AfficheErreur(
                    QStringLiteral("Retour : Erreur ") +
                    PML_TexteAttribut(document, QStringLiteral("ERREUR"), QStringLiteral("Detail")));
                return;
            }
        }
    }
}

void ModPharmaML::PML_RetourInfosProduit(const QString &corps) {
    piege(QStringLiteral("PML_RetourInfosProduit"), Forme::RetourChariot, [&] {
        const Xml::Document document = Xml::Document::depuisTexte(corps, Xml::espacesMessage);
        for (const Xml::Noeud &ligne : document.elementsParNom(u"LIGNE"))
            PML_DecodeUneLigneProduit(ligne);
    });
}

QString ModPharmaML::PML_DecodeUneLigneProduit(Xml::Noeud ligne) {
    if (ligne.estAbsent())
        return {};
    QString dispo;
    piege(QStringLiteral("PML_DecodeUneLigneProduit"), Forme::Parentheses, [&] {
        QString designation;
        try {
            designation = ligne.attribut(u"Designation").value_or(QString());
        } catch (const std::exception &) {
            designation.clear();
        }
        PML_AfficheDesignation(designation);

        QString s;
        const QList<Xml::Noeud> prix = ligne.elementsParNom(u"PRIX");
        for (qsizetype i = 0; i < prix.size() && i < prixAffiches; ++i) {
            const std::optional<QString> nature = prix[i].attribut(u"Nature");
            const std::optional<QString> valeur = prix[i].attribut(u"Valeur");
            if (!nature || !valeur)
                throw RuntimeError::invalidUseOfNull();
            if (!s.isEmpty())
                s += QLatin1String("\r\n");
            QString montant = *valeur;
            s += PML_LibellePrix(*nature, montant);
        }
        PML_AfficheInfo(s);

        if (!ligne.elementsParNom(u"DISPO").isEmpty())
            s = QStringLiteral("DISPONIBLE");
        const QList<Xml::Noeud> nonDispo = ligne.elementsParNom(u"NON_DISPO");
        if (!nonDispo.isEmpty())
            s = QStringLiteral("NON DISPONIBLE \r\n(") +
                nonDispo.first().attribut(u"Additif").value_or(QString()) + u')';
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

QString ModPharmaML::PML_TexteElement(const Xml::Document &document, const QString &balise) {
    try {
        const QList<Xml::Noeud> elements = document.elementsParNom(balise);
        return elements.isEmpty() ? QString() : elements.first().texte();
    } catch (const std::exception &) {
        return {};
    }
}

QString ModPharmaML::PML_TexteAttribut(const Xml::Document &document, const QString &balise,
                                       const QString &attribut) {
    try {
        const QList<Xml::Noeud> elements = document.elementsParNom(balise);
        return elements.isEmpty() ? QString() : elements.first().attribut(attribut).value_or(QString());
    } catch (const std::exception &) {
        return {};
    }
}
