#pragma once

#include "lignereponse.h"
#include "xmldocument.h"

#include <QByteArrayView>

// Reads a Pharma-ML reply into its outcome and its product lines; the one decoder of the program.
// Nothing is shown and nothing is thrown: a failure becomes the outcome's message.
namespace DecodeurRetour {

// A whole reply, as the bytes received (their declared encoding is honoured). Echec with
// "Retour non conforme" when it does not parse, "Retour : fin de service" for an end-of-service
// notice, "Retour : Erreur " + Detail for a wholesaler error; Lignes for a product answer found in
// CSRP_ENVELOPPE/CORPS/MESSAGE_REPARTITEUR/CORPS of a top-level node other than the first (which,
// in a reply opening with an XML declaration, is that declaration).
ResultatEchange decode(QByteArrayView retour);
// The LIGNE elements of a message body's XML text, in document order; none when it does not parse.
ResultatEchange decodeCorps(const QString &corps);
LigneReponse decodeLigne(const Xml::Noeud &ligne);

} // namespace DecodeurRetour
