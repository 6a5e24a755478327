#include "textesechec.h"

#include <array>

namespace {

struct Sens {
    int statut;
    QStringView texte;
};

// The envelope's and message's ERREUR statuts of Pharma-ML.
const std::array<Sens, 14> sens{{
    {1, u"enveloppe non conforme"},
    {2, u"message non conforme"},
    {3, u"version de protocole non supportée"},
    {4, u"émetteur non identifié"},
    {5, u"erreur de destinataire"},
    {6, u"message ou service non répertorié"},
    {7, u"doublon (même message et même document)"},
    {8, u"doublon (document déjà reçu)"},
    {9, u"doublon (message déjà traité)"},
    {10, u"référence de message inconnue"},
    {11, u"contrôle d'intégrité en échec (clef secrète)"},
    {101, u"pharmacie inconnue"},
    {102, u"pharmacie non autorisée"},
    {103, u"service non autorisé pour cette pharmacie"},
}};

const QString prefixeErreur = QStringLiteral("Retour : Erreur ");

} // namespace

namespace TextesEchec {

QString statutRecu(const QString &ligneStatut)
{
    const QString texte = ligneStatut.trimmed();
    return texte.startsWith(QLatin1String("HTTP/")) ? texte.section(u' ', 1).trimmed() : texte;
}

QString statutHttp(int statut, const QString &ligneStatut)
{
    if (statut == 401 || statut == 403)
        return QStringLiteral("Retour HTTP incorrect ! (vérifier la clef secrète)");
    const QString texte = statutRecu(ligneStatut);
    return QStringLiteral("Retour HTTP incorrect : ") + (texte.isEmpty() ? QString::number(statut) : texte);
}

QString erreurRepartiteur(const QString &statut, const QString &detail, const QString &descriptionLibre)
{
    if (!detail.isEmpty())
        return prefixeErreur + detail;
    QString code = statut.trimmed();
    if (!code.isEmpty()) {
        while (code.size() > 1 && code.front() == u'0')
            code.remove(0, 1);
        bool nombre = false;
        const QString mots = sensStatut(code.toInt(&nombre));
        return prefixeErreur + code + (nombre && !mots.isEmpty() ? QStringLiteral(" : ") + mots : QString());
    }
    if (!descriptionLibre.trimmed().isEmpty())
        return prefixeErreur + descriptionLibre;
    return prefixeErreur + QStringLiteral("sans description");
}

QString sensStatut(int statut)
{
    for (const Sens &s : sens) {
        if (s.statut == statut)
            return s.texte.toString();
    }
    return {};
}

} // namespace TextesEchec
