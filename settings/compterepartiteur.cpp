#include "compterepartiteur.h"

#include "fichierini.h"

const QStringList &CompteRepartiteur::clesCompletes()
{
    static const QStringList stems{Cles::nomRepart, Cles::idRepart,  Cles::codeRepart,
                                   Cles::urlRepart, Cles::numeroCli, Cles::clefCli};
    return stems;
}

const QList<CompteRepartiteur::Reglage> &CompteRepartiteur::reglages()
{
    using C = CompteRepartiteur;
    static const QList<Reglage> tous{
        {Cles::nomRepart, true, &C::nomRepart},         {Cles::idRepart, true, &C::idRepart},
        {Cles::codeRepart, true, &C::codeRepart},       {Cles::adrRepart, true, &C::adrRepart},
        {Cles::urlRepart, true, &C::urlRepart},         {Cles::portRepart, true, &C::portRepart},
        {Cles::urlSecours, true, &C::urlSecours},       {Cles::portSecours, true, &C::portSecours},
        {Cles::numeroCli, true, &C::numeroCli},         {Cles::clefCli, true, &C::clefCli},
        {Cles::adrPharmacie, false, &C::adrPharmacie},  {Cles::proxy, false, &C::proxy},
        {Cles::certificatsAC, false, &C::certificatsAC}};
    return tous;
}

CompteRepartiteur CompteRepartiteur::lis(qint16 n)
{
    CompteRepartiteur c;
    c.numero = n;
    for (const Reglage &r : reglages())
        c.*r.valeur = FichierINI::LireIniPresente(Cles::section, c.cle(r));
    return c;
}

bool CompteRepartiteur::complet() const
{
    for (const Reglage &r : reglages()) {
        if (clesCompletes().contains(r.stem) && (this->*r.valeur).value_or(QString()).isEmpty())
            return false;
    }
    return true;
}
