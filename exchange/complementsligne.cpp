#include "complementsligne.h"

#include "modpharmaml.h"

namespace ComplementsLigne {

QString genreRemplacement(QStringView type)
{
    if (type == u"RL")
        return QStringLiteral("remplaçant livré");
    if (type == u"EL")
        return QStringLiteral("équivalent livré");
    if (type == u"EP")
        return QStringLiteral("équivalent proposé");
    return {};
}

QString retourPrevu(const RetourPrevu &retour)
{
    if (!retour.date.isValid())
        return {};
    QString texte =
        QStringLiteral("Disponible à partir du ") + retour.date.toString(QStringLiteral("dd/MM/yyyy"));
    if (!retour.heure.isEmpty())
        texte += QStringLiteral(" à ") + retour.heure;
    if (!retour.quantite.isEmpty())
        texte += QStringLiteral(" (quantité : ") + retour.quantite + u')';
    return texte;
}

QString remplacant(const Remplacant &remplacant)
{
    if (remplacant.codeProduit.isEmpty())
        return {};
    QString texte = QStringLiteral("Remplacé par : ") + remplacant.codeProduit;
    if (!remplacant.designation.isEmpty())
        texte += u' ' + remplacant.designation;
    if (const QString genre = genreRemplacement(remplacant.typeRemplacement); !genre.isEmpty())
        texte += QStringLiteral(" (") + genre + u')';
    return texte;
}

QStringList lignes(const LigneReponse &ligne)
{
    // As many prices as the product shows.
    constexpr qsizetype prixAffiches = 3;
    QStringList sortie;
    if (const QString date = retourPrevu(ligne.retourPrevu); !date.isEmpty())
        sortie << date;
    if (const QString autre = remplacant(ligne.remplacant); !autre.isEmpty()) {
        sortie << autre;
        for (qsizetype i = 0; i < ligne.remplacant.prix.size() && i < prixAffiches; ++i) {
            QString montant = ligne.remplacant.prix[i].valeur;
            if (const QString prix = ModPharmaML::PML_LibellePrix(ligne.remplacant.prix[i].nature, montant);
                !prix.isEmpty())
                sortie << prix;
        }
    }
    if (!ligne.commentaire.isEmpty())
        sortie << ligne.commentaire;
    return sortie;
}

} // namespace ComplementsLigne
