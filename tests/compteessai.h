// A complete wholesaler account of the tests: the seven [Infos] keys of account n in Solvarin.ini.
#pragma once

#include "fichierini.h"

#include <QMap>
#include <QString>

struct CompteEssai {
    QString nom = QStringLiteral("OCP");
    QString id = QStringLiteral("12");
    QString code = QStringLiteral("04");
    QString url = QStringLiteral("http://127.0.0.1/pml");
    quint16 port = 0; // 0: no PortRepart key (the port, if any, is in the URL)
    QString client = QStringLiteral("0999908");
    QString clef = QStringLiteral("4083");
};

// Account n's keys and values.
inline QMap<QString, QString> reglagesCompte(int n, const CompteEssai &c = {})
{
    const QString s = QString::number(n);
    QMap<QString, QString> reglages{{"NomRepart" + s, c.nom},   {"IdRepart" + s, c.id},
                                    {"CodeRepart" + s, c.code}, {"URLRepart" + s, c.url},
                                    {"NumeroCli" + s, c.client}, {"ClefCli" + s, c.clef}};
    if (c.port != 0)
        reglages.insert("PortRepart" + s, QString::number(c.port));
    return reglages;
}

// Writes account n into the program folder's Solvarin.ini; false when a key cannot be written.
inline bool ecritCompte(int n, const CompteEssai &c = {})
{
    const QMap<QString, QString> reglages = reglagesCompte(n, c);
    for (auto it = reglages.cbegin(); it != reglages.cend(); ++it) {
        if (FichierINI::EcrireIni(QStringLiteral("Infos"), it.key(), it.value()) == 0)
            return false;
    }
    return true;
}
