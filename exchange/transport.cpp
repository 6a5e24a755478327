// The one-product query's exchange: run, waited for while events run, shown.
#include "modpharmaml.h"

#include <QEventLoop>
#include <QPointer>

void ModPharmaML::PML_EnvoieUneRequete(const QString &lignes, const CompteRepartiteur &compte)
{
    if (m_enCours)
        return;
    m_enCours = true;
    const QPointer<QObject> vivant = &m_gardien;
    m_echange->lance(lignes, compte);
    {
        QEventLoop boucle;
        QObject::connect(m_echange.get(), &EchangeInfoProduit::termine, &boucle, &QEventLoop::quit);
        QObject::connect(&m_gardien, &QObject::destroyed, &boucle, &QEventLoop::quit);
        // Once the application is quitting, no event loop runs any more: exec() says so at once.
        while (m_echange->enCours() && boucle.exec() >= 0) {
            if (!vivant)
                return;
        }
    }
    ResultatEchange resultat = m_echange->resultat();
    if (m_echange->enCours()) {
        m_echange->annule();
        resultat = ResultatEchange::echec(QStringLiteral("Aucun retour reçu dans les délais !"));
    }
    // The codes asked, each the first field of an item "code,quantity".
    QStringList demandes;
    for (const QString &article : lignes.split(u';', Qt::SkipEmptyParts))
        demandes << article.section(u',', 0, 0).trimmed();
    m_dernierResultat = resultat;
    afficheResultat(resultat, demandes);
    if (vivant)
        m_enCours = false;
}
