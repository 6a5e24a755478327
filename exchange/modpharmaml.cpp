#include "modpharmaml.h"

#include "piege.h"

ModPharmaML::ModPharmaML(ZoneResultat &zone, Horloge horloge) : m_zone(zone), m_horloge(std::move(horloge)) {}

void ModPharmaML::signaleEchec(const QString &procedure, const RuntimeError &erreur, Forme forme) {
    const QString numero = QString::number(erreur.number);
    const QString texte =
        procedure + QStringLiteral(" : ") + erreur.description +
        (forme == Forme::Parentheses ? QStringLiteral(" (") + numero + u')' : u'\r' + numero);
    try {
        PML_AfficheErreur(texte);
    } catch (const std::exception &) {
        // The result area itself failed: there is nowhere left to show anything.
    }
}

// ---- Result display

namespace {
bool estCompte(qint16 n) {
    return n == 1 || n == 2;
}
} // namespace

void ModPharmaML::PML_AfficheErreur(const QString &texte) {
    const qint16 n = m_zone.NumRepartCourant();
    if (!estCompte(n))
        return;
    m_zone.setCouleurTexteLabRetour(n, Couleurs::rouge);
    m_zone.setLabRetour(n, texte);
    PML_AfficheDispo(QStringLiteral("REQUETE EN ERREUR"));
}

void ModPharmaML::PML_AfficheInfo(const QString &texte) {
    const qint16 n = m_zone.NumRepartCourant();
    if (!estCompte(n))
        return;
    m_zone.setCouleurTexteLabRetour(n, Couleurs::noir);
    m_zone.setLabRetour(n, texte);
}

void ModPharmaML::PML_AfficheDesignation(QString &texte) {
    if (texte.toLower() == QLatin1String("description"))
        texte.clear();
    m_zone.setCouleurTexteLabRetour(0, Couleurs::noir);
    m_zone.setLabRetour(0, texte);
}

void ModPharmaML::PML_AfficheDispo(const QString &texte) {
    const qint16 n = m_zone.NumRepartCourant();
    if (!estCompte(n))
        return;
    m_zone.setCouleurFondTxtInfos(n, texte == QLatin1String("DISPONIBLE") ? Couleurs::vert : Couleurs::rouge);
    m_zone.setTxtInfos(n, QStringLiteral("\r\n") + texte);
    m_zone.laisseDeroulerEvenements();
}

// ---- XML check and text filter

QString ModPharmaML::PML_ControleStringXML(const QString &texte) {
    QString message;
    piege(QStringLiteral("PML_ControleStringXML"), Forme::Parentheses, [&] {
        const Xml::Document document = Xml::Document::depuisTexte(texte, Xml::espacesEnveloppe);
        if (document.estAnalyse())
            return;
        const Xml::ErreurAnalyse &e = document.erreur();
        message = QStringLiteral("Erreur de validation \r\nRaison: ") + e.raison +
                  QStringLiteral("\r\nSource: ") + e.source + QStringLiteral("\r\nLigne: ") +
                  QString::number(e.ligne);
    });
    return message;
}

QString ModPharmaML::PML_FiltreTexte(const QString &texte) {
    QString filtre = texte;
    piege(QStringLiteral("PML_FiltreTexte"), Forme::Parentheses, [&] {
        static const QString accentues = QStringLiteral("àâäáåªçèéêëïîìíñôöòóüùûúÄÅÇÉÑÖÜ");
        static const QString simples = QStringLiteral("aaaaaaceeeeiiiinoooouuuuAACENOU");
        for (qsizetype i = 0; i < accentues.size(); ++i)
            filtre.replace(accentues[i], simples[i]);
        for (QChar &c : filtre) {
            const char16_t u = c.unicode();
            const bool garde = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
            if (!garde)
                c = u' ';
        }
    });
    return filtre;
}
