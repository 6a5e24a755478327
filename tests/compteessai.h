// A complete wholesaler account of the tests, as a value for the exchange or written into Solvarin.ini.
#pragma once

#include "compterepartiteur.h"
#include "fichierini.h"

#include <QString>

struct CompteEssai {
    QString nom = QStringLiteral("OCP");
    QString id = QStringLiteral("12");
    QString code = QStringLiteral("04");
    QString url = QStringLiteral("http://127.0.0.1/pml");
    quint16 port = 0; // 0: no PortRepart setting (the port, if any, is in the URL)
    QString client = QStringLiteral("0999908");
    QString clef = QStringLiteral("4083");

    // Account n with these settings and nothing else.
    CompteRepartiteur compte(int n) const
    {
        CompteRepartiteur c;
        c.numero = qint16(n);
        c.nomRepart = nom;
        c.idRepart = id;
        c.codeRepart = code;
        c.urlRepart = url;
        if (port != 0)
            c.portRepart = QString::number(port);
        c.numeroCli = client;
        c.clefCli = clef;
        return c;
    }
};

// Writes every setting the account holds into the program folder's Solvarin.ini; false when one cannot
// be written.
inline bool ecritCompte(const CompteRepartiteur &c)
{
    for (const CompteRepartiteur::Reglage &r : CompteRepartiteur::reglages()) {
        const std::optional<QString> &valeur = c.*r.valeur;
        if (valeur && FichierINI::EcrireIni(CompteRepartiteur::Cles::section, c.cle(r), *valeur) == 0)
            return false;
    }
    return true;
}

inline bool ecritCompte(int n, const CompteEssai &c = {})
{
    return ecritCompte(c.compte(n));
}
