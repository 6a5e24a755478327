#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

// The Pharma-ML side of the simulated wholesaler: reading a REQ_INFO_PRODUIT, checking its
// credential, and writing the replies (UTF-8 documents with an XML declaration, as wholesalers do).
namespace MessagesSim {

struct LigneDemandee {
    QString numLigne;
    QString typeCodification;
    QString codeProduit;
};

struct Requete {
    bool lisible = false;  // the body is well-formed XML
    QString idClient;      // envelope EMETTEUR Id
    QString adresseClient; // envelope EMETTEUR Adresse
    QString codeRepart;    // envelope RECEPTEUR Code
    QString idRepart;      // envelope RECEPTEUR Id
    QString refMessage;    // REF_MESSAGE
    QString refDemande;    // REQ_INFO_PRODUIT Ref_Req_Info_Produit
    QList<LigneDemandee> lignes;
};

Requete lit(QByteArrayView corps);

// Base64 of the MD5 of the body's bytes, the client number padded with "0" to 16 characters and the
// first four characters of the key.
QString empreinte(QByteArrayView corps, const QString &numeroClient, const QString &clef);

// Replies; `refReponse` names the reply message. A request without any line is answered with an error.
// The product answer has one line per line asked, prices at `pourcentPrix` % of the catalogue's; the
// products of `manquants` are answered NON_DISPO 0005 whatever the catalogue says.
QByteArray repInfoProduit(const Requete &requete, const QString &refReponse, int pourcentPrix = 100,
                          const QSet<QString> &manquants = {});
QByteArray finService(const Requete &requete, const QString &refReponse);
// `statut`: the envelope error code (2 message not conforming, 10 unknown message reference...).
QByteArray erreur(const Requete &requete, const QString &refReponse, const QString &detail, int statut = 10);

} // namespace MessagesSim
