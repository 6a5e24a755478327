#include "constructeurrequete.h"

#include "codeproduit.h"
#include "contrainteschema.h"
#include "piege.h"
#include "quantite.h"
#include "referencesmessage.h"
#include "xmldocument.h"

#include <QStringList>

#include <initializer_list>
#include <utility>

namespace {

constexpr qsizetype maxItems = 50;
constexpr qsizetype maxAdresseRepart = 28;
constexpr qsizetype maxAdressePharmacie = 128;
constexpr qsizetype longueurNumeroCli = 16;
constexpr qsizetype caracteresClef = 4;

using Attributs = std::initializer_list<std::pair<const char *, QString>>;

// A start tag, or an empty element when `vide`: name, then ` name="value"` for each attribute.
// Values and contents are escaped (&, <, >, ", the four entities of toHtmlEscaped): none can end an
// attribute or open an element of the request.
QString balise(const char *nom, Attributs attributs, bool vide = false)
{
    QString texte = u'<' + QLatin1String(nom);
    for (const auto &[cle, valeur] : attributs)
        texte += u' ' + QLatin1String(cle) + QLatin1String("=\"") + valeur.toHtmlEscaped() + u'"';
    texte += vide ? QLatin1String("/>") : QLatin1String(">");
    return texte;
}

QString element(const char *nom, const QString &contenu)
{
    return u'<' + QLatin1String(nom) + u'>' + contenu.toHtmlEscaped() + QLatin1String("</") +
           QLatin1String(nom) + u'>';
}

const QString zeros6 = QStringLiteral("000000");

// Outside XML 1.0's Char production: C0 controls but tab, LF and CR; U+FFFE and U+FFFF; a
// surrogate that is not one half of a pair.
bool horsXml(QStringView valeur)
{
    for (qsizetype i = 0; i < valeur.size(); ++i) {
        const QChar c = valeur[i];
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF)
            return true;
        if (c.isHighSurrogate() && i + 1 < valeur.size() && valeur[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

ConstructeurRequete::ConstructeurRequete(Horloge horloge) : m_horloge(std::move(horloge)) {}

template <typename Corps> bool ConstructeurRequete::piege(const QString &procedure, Corps &&corps)
{
    return Echec::piege(
        procedure, Echec::Forme::Parentheses, [this](const QString &texte) { m_echecs << texte; }, corps);
}

QStringList ConstructeurRequete::prendsEchecs()
{
    return std::exchange(m_echecs, {});
}

QString ConstructeurRequete::valeur(const CompteRepartiteur &compte, const QString &stem,
                                    const std::optional<QString> &lue, const QString &defaut,
                                    std::optional<Schema::Contrainte> contrainte)
{
    const QString valeur = lue.value_or(defaut);
    if (m_parametreInvalide.isEmpty() &&
        (horsXml(valeur) || (contrainte && !Schema::respecte(valeur, *contrainte))))
        m_parametreInvalide = compte.cle(stem);
    return valeur;
}

QString ConstructeurRequete::dateHeure() const
{
    return m_horloge().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

QString ConstructeurRequete::construit(const QString &lignes, const CompteRepartiteur &compte,
                                       ReferencesMessage *references)
{
    using Cles = CompteRepartiteur::Cles;
    QString message;
    m_parametreInvalide.clear();
    piege(QStringLiteral("PML_ConstruitRequeteInfoProduit"), [&] {
        m_refMessage = m_horloge().toString(QStringLiteral("yyyyMMddHHmmss"));
        if (references)
            m_refMessage = references->attribue(compte.numero, m_refMessage);
        QString requete = PML_ConstruitEntete(m_refMessage, QStringLiteral("REQ_EMISSION"), compte);
        requete += PML_ConstruitCorpsInfoProduit(lignes, m_refMessage);
        requete += QLatin1String("</MESSAGE_OFFICINE></CORPS></CSRP_ENVELOPPE>");
        m_requeteXML = requete;
        m_empreinteRequete =
            empreinte(m_requeteXML, valeur(compte, Cles::numeroCli, compte.numeroCli, QString()),
                      valeur(compte, Cles::clefCli, compte.clefCli, QString()));
        message = PML_ControleStringXML(m_requeteXML);
    });
    return message;
}

QString ConstructeurRequete::empreinte(const QString &requete, QString numeroCli,
                                       const QString &clefCli) const
{
    if (numeroCli.size() < longueurNumeroCli)
        numeroCli += QString(longueurNumeroCli - numeroCli.size(), u'0');
    // The request travels as UTF-8, and the wholesaler digests what it receives.
    const QByteArray octets = (requete + numeroCli + clefCli.left(caracteresClef)).toUtf8();
    const QByteArray digest = m_md5.MD5_bytes(octets, qint32(qMin<qsizetype>(octets.size(), INT32_MAX)));
    return m_base64.EncodeArray64OneLine(digest).left(24);
}

QString ConstructeurRequete::PML_ConstruitEntete(const QString &refMessage, const QString &natureAction,
                                                 const CompteRepartiteur &compte)
{
    using Cles = CompteRepartiteur::Cles;
    QString enveloppe; // complete up to the end of the envelope's header
    QString entete;
    const bool reussi = piege(QStringLiteral("PML_ConstruitEntete"), [&] {
        const QString dateEnveloppe = dateHeure();
        m_numeroCliRequete = valeur(compte, Cles::numeroCli, compte.numeroCli, zeros6, Schema::identifiant);
        QString texte = balise("CSRP_ENVELOPPE",
                               {{"xmlns", QStringLiteral("urn:x-csrp:fr.csrp.protocole:enveloppe")},
                                {"xmlns:xsi", QStringLiteral("http://www.w3.org/2001/XMLSchema-instance")},
                                {"Nature_Action", natureAction},
                                {"Version_Protocole", QStringLiteral("1.0.0.0")},
                                {"Id_Logiciel", QStringLiteral("Ardevio")},
                                {"Version_Logiciel", QStringLiteral(SOLVARIN_VERSION)},
                                {"Usage", QStringLiteral("P")}});
        const QString adresse = PML_AdressePharmacie(compte);
        if (adresse.isEmpty() && m_parametreInvalide.isEmpty())
            m_parametreInvalide = CompteRepartiteur::Cles::adrPharmacie;
        texte += QLatin1String("<ENTETE>");
        texte += balise("EMETTEUR",
                        {{"Nature", QStringLiteral("OF")},
                         {"Code", QStringLiteral("00")},
                         {"Id", m_numeroCliRequete},
                         {"Adresse", adresse}},
                        true);
        texte +=
            balise("RECEPTEUR",
                   {{"Nature", QStringLiteral("RE")},
                    {"Code", valeur(compte, Cles::idRepart, compte.idRepart, zeros6, Schema::codeSociete)},
                    {"Id", valeur(compte, Cles::codeRepart, compte.codeRepart, zeros6, Schema::identifiant)},
                    {"Adresse", valeur(compte, Cles::adrRepart, compte.adrRepart, QStringLiteral("......"),
                                       Schema::adresse)
                                    .left(maxAdresseRepart)}},
                   true);
        texte += element("REF_MESSAGE", refMessage);
        texte += element("DATE", dateEnveloppe);
        texte += QLatin1String("</ENTETE>");
        enveloppe = texte;

        const QString dateMessage = dateHeure();
        texte += QLatin1String("<CORPS>");
        texte +=
            balise("MESSAGE_OFFICINE", {{"xmlns", QStringLiteral("urn:x-csrp:fr.csrp.protocole:message")}});
        texte += QLatin1String("<ENTETE>");
        texte += balise(
            "EMETTEUR",
            {{"Nature_Partenaire", QStringLiteral("OF")},
             {"Id_Client", valeur(compte, Cles::numeroCli, compte.numeroCli, zeros6, Schema::identifiant)}},
            true);
        texte += balise(
            "DESTINATAIRE",
            {{"Nature_Partenaire", QStringLiteral("RE")},
             {"Code_Societe", valeur(compte, Cles::idRepart, compte.idRepart, zeros6, Schema::codeSociete)},
             {"Id_Societe",
              valeur(compte, Cles::codeRepart, compte.codeRepart, zeros6, Schema::identifiant)}},
            true);
        texte += element("DATE", dateMessage);
        texte += QLatin1String("</ENTETE>");
        entete = texte;
    });
    return reussi ? entete : enveloppe;
}

QString ConstructeurRequete::PML_ConstruitCorpsInfoProduit(const QString &lignes, const QString &refMessage)
{
    QString resultat;
    piege(QStringLiteral("PML_ConstruitCorpsInfoProduit"), [&] {
        QString texte =
            QLatin1String("<CORPS>") + balise("REQ_INFO_PRODUIT", {{"Ref_Req_Info_Produit", refMessage}});
        const QStringList items = lignes.isEmpty() ? QStringList() : lignes.split(u';');
        for (qsizetype p = 0; p < items.size() && p < maxItems; ++p) {
            const QStringList parties = items[p].split(u',');
            if (parties.size() != 2)
                continue;
            const QString quantite = Quantite::estNumerique(parties[1]) ? Quantite::valeurAbsolue(parties[1])
                                                                        : QStringLiteral("1");
            texte += balise("LIGNE",
                            {{"Num_Ligne", QString::number(p + 1)},
                             {"Type_Codification", CodeProduit::typeCodification(parties[0])},
                             {"Code_Produit", parties[0]},
                             {"Quantite", quantite}},
                            true);
        }
        texte += QLatin1String("</REQ_INFO_PRODUIT></CORPS>");
        resultat = texte;
    });
    return resultat;
}

QString ConstructeurRequete::PML_AdressePharmacie(const CompteRepartiteur &compte)
{
    // Failures here are ignored: the address is then left empty.
    try {
        if (m_adressePharmacie.isEmpty())
            m_adressePharmacie = compte.adrPharmacie.value_or(QStringLiteral("Pharmacie Ardevio"));
        return PML_FiltreTexte(m_adressePharmacie).left(maxAdressePharmacie);
    } catch (const std::exception &) {
        return {};
    }
}

QString ConstructeurRequete::PML_ControleStringXML(const QString &texte)
{
    QString message;
    piege(QStringLiteral("PML_ControleStringXML"), [&] {
        const Xml::Document document = Xml::Document::depuisTexte(texte);
        if (document.estAnalyse())
            return;
        const Xml::ErreurAnalyse &e = document.erreur();
        message = QStringLiteral("Erreur de validation \r\nRaison: ") + e.raison +
                  QStringLiteral("\r\nSource: ") + e.source + QStringLiteral("\r\nLigne: ") +
                  QString::number(e.ligne);
    });
    return message;
}

QString ConstructeurRequete::PML_FiltreTexte(const QString &texte)
{
    QString filtre = texte;
    piege(QStringLiteral("PML_FiltreTexte"), [&] {
        static const QString accentues = QStringLiteral("àâäáåªçèéêëïîìíñôöòóüùûúÄÅÇÉÑÖÜ");
        static const QString simples = QStringLiteral("aaaaaaceeeeiiiinoooouuuuAACENOU");
        for (qsizetype i = 0; i < accentues.size(); ++i)
            filtre.replace(accentues[i], simples[i]);
        for (QChar &c : filtre) {
            const char16_t u = c.unicode();
            const bool garde = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
            if (!garde)
                c = u' ';
        }
    });
    return filtre;
}
