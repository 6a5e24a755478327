#include "modpharmaml.h"

#include "piege.h"

ModPharmaML::ModPharmaML(ZoneResultat &zone, Horloge horloge)
    : m_zone(zone), m_echange(std::make_unique<EchangeInfoProduit>(nullptr, std::move(horloge)))
{
    QObject::connect(m_echange.get(), &EchangeInfoProduit::incident, &m_gardien,
                     [this](const QString &texte) { signale(texte); });
}

ModPharmaML::~ModPharmaML() = default;

void ModPharmaML::signale(const QString &texte)
{
    try {
        PML_AfficheErreur(texte);
    } catch (const std::exception &) {
        // The result area itself failed: there is nowhere left to show anything.
    }
}

QString ModPharmaML::signaleEchecsRequete(const QString &resultat)
{
    for (const QString &texte : m_echange->requete().prendsEchecs())
        signale(texte);
    return resultat;
}

bool ModPharmaML::piege(const QString &procedure, const std::function<void()> &corps)
{
    return Echec::piege(
        procedure, Echec::Forme::Parentheses, [this](const QString &texte) { signale(texte); }, corps);
}

// ---- Request construction

QString ModPharmaML::PML_ConstruitRequeteInfoProduit(const QString &lignes, const CompteRepartiteur &compte)
{
    return signaleEchecsRequete(m_echange->requete().construit(lignes, compte));
}

// ---- Result display

namespace {
bool estCompte(qint16 n)
{
    return n == 1 || n == 2;
}
} // namespace

void ModPharmaML::PML_AfficheErreur(const QString &texte)
{
    const qint16 n = m_zone.NumRepartCourant();
    if (!estCompte(n))
        return;
    m_zone.setCouleurTexteLabRetour(n, Couleurs::rouge);
    m_zone.setLabRetour(n, texte);
    PML_AfficheDispo(QStringLiteral("REQUETE EN ERREUR"));
}

void ModPharmaML::PML_AfficheInfo(const QString &texte)
{
    const qint16 n = m_zone.NumRepartCourant();
    if (!estCompte(n))
        return;
    m_zone.setCouleurTexteLabRetour(n, Couleurs::noir);
    m_zone.setLabRetour(n, texte);
}

void ModPharmaML::PML_AfficheDesignation(QString &texte)
{
    if (texte.toLower() == QLatin1String("description"))
        texte.clear();
    m_zone.setCouleurTexteLabRetour(0, Couleurs::noir);
    m_zone.setLabRetour(0, texte);
}

void ModPharmaML::PML_AfficheDispo(const QString &texte)
{
    const qint16 n = m_zone.NumRepartCourant();
    if (!estCompte(n))
        return;
    m_zone.setCouleurFondTxtInfos(n, texte == QLatin1String("DISPONIBLE") ? Couleurs::vert : Couleurs::rouge);
    m_zone.setTxtInfos(n, QStringLiteral("\r\n") + texte);
    m_zone.laisseDeroulerEvenements();
}
