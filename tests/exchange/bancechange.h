// What the loopback exchange tests share: a fresh program folder, a result area for account 1 that
// keeps every caption it was given, and the module with its exchange.
#pragma once

#include "fichierini.h"
#include "modpharmaml.h"
#include "zonetexte.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

inline QStringList erreur(const QString &message, int compte = 1) {
    return {QStringLiteral("LabRetour(%1)\t#FF0000\t").arg(compte) + message,
            QStringLiteral("txtInfos(%1)\t#FF0000\t\\r\\nREQUETE EN ERREUR").arg(compte)};
}

inline const QString delaiDepasse = QStringLiteral("Aucun retour reçu dans les délais !");

class ZoneJournal : public ZoneTexte {
public:
    using ZoneTexte::ZoneTexte;
    void setLabRetour(int index, const QString &texte) override
    {
        historique << texte;
        ZoneTexte::setLabRetour(index, texte);
    }
    QStringList historique;
};

class BancEchange : public QObject {
protected:
    void prepare()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        FichierINI::setRepertoireProgramme(m_dir->path());
        m_zone = std::make_unique<ZoneJournal>(1);
        m_zone->preparePourRequete();
        m_module = std::make_unique<ModPharmaML>(*m_zone);
    }
    void libere()
    {
        m_module.reset();
        m_zone.reset();
        m_dir.reset();
    }
    QString chemin(const QString &nom) const { return m_dir->filePath(nom); }
    void ecritIni(const QByteArray &texte)
    {
        QFile f(chemin(QStringLiteral("Solvarin.ini")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(texte);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ZoneJournal> m_zone;
    std::unique_ptr<ModPharmaML> m_module;
};
