#pragma once

#include "base64.h"
#include "clsmd5.h"
#include "compterepartiteur.h"
#include "contrainteschema.h"
#include "horloge.h"

#include <QString>
#include <QStringList>

#include <optional>

class ReferencesMessage;

// Builds the signed REQ_INFO_PRODUIT request of an account from its settings, as read when the query
// started, and keeps what the last construction left. It shows nothing:
// the failures it traps ("procedure : description (number)") wait in echecs() for its caller.
class ConstructeurRequete {
public:
    explicit ConstructeurRequete(Horloge horloge = horlogeSysteme());

    // Builds RefMessage, NumeroCliRequete, RequeteXML and EmpreinteRequete for the product list
    // `lignes` (items "code,quantity" separated by ";", at most 50 examined) and that account.
    // Returns the validation message of the request: empty when it parses (or after a failure).
    // A request about to be sent takes its reference from `references`; without, the reference is
    // the second's 14 digits.
    QString construit(const QString &lignes, const CompteRepartiteur &compte,
                      ReferencesMessage *references = nullptr);
    // The envelope's opening and header, then the pharmacy message's opening and header.
    QString PML_ConstruitEntete(const QString &refMessage, const QString &natureAction,
                                const CompteRepartiteur &compte);
    // The message body: CORPS holding REQ_INFO_PRODUIT and one LIGNE per accepted item.
    QString PML_ConstruitCorpsInfoProduit(const QString &lignes, const QString &refMessage);
    // The pharmacy name for the sender's address: taken from the first account that gives one, then
    // kept for the builder's life; folded to ASCII letters, digits and blanks, at most 128 characters.
    QString PML_AdressePharmacie(const CompteRepartiteur &compte);
    // The credential of a request text for that client number and secret key (as read from the
    // account's settings): Base64 of MD5 over the UTF-8 bytes of the request + the client number padded
    // to 16 with "0" + the first 4 characters of the key.
    QString empreinte(const QString &requete, QString numeroCli, const QString &clefCli) const;

    // "" when the text parses, otherwise the four lines "Erreur de validation ", "Raison: ...",
    // "Source: ...", "Ligne: ..." separated by CR LF.
    QString PML_ControleStringXML(const QString &texte);
    // Folds the accented letters of the table to plain ones, then turns every character that is not
    // an ASCII letter or digit into a blank; the length is kept.
    QString PML_FiltreTexte(const QString &texte);

    // The first setting used since the last construction began (NumeroCli, ClefCli, IdRepart,
    // CodeRepart or AdrRepart, with n) whose value holds a character XML 1.0 forbids or breaks what
    // the Pharma-ML schema allows where the request carries it (length, required value, a token
    // without blanks), as "NumeroCli1"; "AdrPharmacie" for an empty pharmacy name; empty when there
    // is none. The pharmacy name is otherwise folded to ASCII before use.
    const QString &parametreInvalide() const { return m_parametreInvalide; }

    // The failures trapped since the last call, in order; taking them empties the list.
    QStringList prendsEchecs();

    // The message reference: local date and time of the last construction, "yyyyMMddHHmmss", with
    // "-2", "-3"... for a later message to the same account within that second.
    const QString &refMessage() const { return m_refMessage; }
    const QString &numeroCliRequete() const { return m_numeroCliRequete; }
    // The last request, one line of XML; it travels as its UTF-8 bytes.
    const QString &requeteXML() const { return m_requeteXML; }
    const QString &empreinteRequete() const { return m_empreinteRequete; }

private:
    template <typename Corps> bool piege(const QString &procedure, Corps &&corps);
    QString dateHeure() const;
    // A setting of the account (`lue`, or `defaut` when absent), noted under its key when XML cannot
    // carry its value or, with a constraint, when the schema refuses it.
    QString valeur(const CompteRepartiteur &compte, const QString &stem, const std::optional<QString> &lue,
                   const QString &defaut, std::optional<Schema::Contrainte> contrainte = std::nullopt);

    Horloge m_horloge;
    ClsMD5 m_md5;
    Base64 m_base64;
    QStringList m_echecs;

    QString m_refMessage;
    QString m_numeroCliRequete;
    QString m_requeteXML;
    QString m_empreinteRequete;
    QString m_adressePharmacie; // read once
    QString m_parametreInvalide;
};
