#include "colonnescompte.h"

#include "complementsligne.h"
#include "modpharmaml.h"
#include "reponseliste.h"
#include "tableauliste.h"

namespace {

// "Prix public TTC = 2,18 €" for each price, on a line each; a nature without label by its code.
QString libellesPrix(const QList<PrixLigne> &prix)
{
    QStringList lignes;
    for (const PrixLigne &p : prix) {
        QString sansMontant;
        QString libelle = ModPharmaML::PML_LibellePrix(p.nature, sansMontant);
        if (libelle.isEmpty())
            libelle = p.nature + QStringLiteral(" = ");
        lignes << libelle + ReponseListe::prix(p.valeur);
    }
    return lignes.join(u'\n');
}

} // namespace

namespace ColonnesCompte {

QString titre(Champ champ, const ReponsesCompte &compte)
{
    switch (champ) {
    case Champ::Etat:
        return compte.nom;
    case Champ::Prix:
        return QStringLiteral("Prix");
    case Champ::Motif:
        return QStringLiteral("Motif");
    case Champ::RetourPrevu:
        return QStringLiteral("Retour prévu");
    case Champ::Remplacant:
        break;
    }
    return QStringLiteral("Remplaçant");
}

QString texte(Champ champ, const ReponseCode &reponse)
{
    const LigneReponse &ligne = reponse.ligne;
    switch (champ) {
    case Champ::Etat:
        return TableauListe::etat(reponse);
    case Champ::Prix: {
        QStringList prix;
        for (const PrixLigne &p : ligne.prix)
            prix << ReponseListe::prix(p.valeur);
        return prix.join(QStringLiteral(" / "));
    }
    case Champ::Motif:
        return TableauListe::motifLigne(reponse);
    case Champ::RetourPrevu:
        return ligne.retourPrevu.date.toString(QStringLiteral("dd/MM/yyyy"));
    case Champ::Remplacant:
        break;
    }
    return QStringList{ligne.remplacant.codeProduit, ligne.remplacant.designation}.join(u' ').trimmed();
}

QString infobulle(Champ champ, const ReponseCode &reponse)
{
    if (reponse.etat != ReponseCode::Etat::Repondue)
        return {};
    const LigneReponse &ligne = reponse.ligne;
    switch (champ) {
    case Champ::Etat:
        return {};
    case Champ::Prix:
        return libellesPrix(ligne.prix);
    case Champ::Motif:
        return ReponseListe::remarques(ligne);
    case Champ::RetourPrevu: {
        QStringList lignes;
        if (!ligne.retourPrevu.heure.isEmpty())
            lignes << QStringLiteral("Heure : ") + ligne.retourPrevu.heure;
        if (!ligne.retourPrevu.quantite.isEmpty())
            lignes << QStringLiteral("Quantité : ") + ligne.retourPrevu.quantite;
        return lignes.join(u'\n');
    }
    case Champ::Remplacant:
        break;
    }
    if (ligne.remplacant.codeProduit.isEmpty())
        return {};
    QStringList lignes;
    if (const QString genre = ComplementsLigne::genreRemplacement(ligne.remplacant.typeRemplacement);
        !genre.isEmpty())
        lignes << genre;
    if (!ligne.remplacant.prix.isEmpty())
        lignes << libellesPrix(ligne.remplacant.prix);
    return lignes.join(u'\n');
}

} // namespace ColonnesCompte
