#include "interrogation.h"

#include "fichierini.h"
#include "modpharmaml.h"
#include "sockettcp.h"
#include "zonetexte.h"

#include <QTcpSocket>

QStringList interrogeRepartiteur(const QString &repertoire, qint16 compte, const QString &cip,
                                 std::chrono::milliseconds delai) {
    FichierINI::setRepertoireProgramme(repertoire);
    ZoneTexte zone(compte);
    zone.preparePourRequete();
    QTcpSocket tcp;
    SocketTcp socket(&tcp);
    ModPharmaML module(zone);
    module.setSocket(&socket);
    module.setDelaiAttente(delai);
    module.PML_EnvoieUneRequete(cip + QStringLiteral(",1"), compte);
    return zone.lignes();
}
