#include "champsrequis.h"

#include "contrainteschema.h"
#include "url.h"

#include <QLineEdit>

#include <functional>

namespace ChampsRequis {

namespace {

const QColor blanc(Qt::white);
const QColor rose(0xFF, 0xD8, 0xD8);

void surveille(QLineEdit *champ, const QString &aide, std::function<bool(const QString &)> valide)
{
    champ->setToolTip(aide);
    const auto colore = [champ, valide] {
        QPalette p = champ->palette();
        p.setColor(QPalette::Base, valide(champ->text()) ? blanc : rose);
        champ->setPalette(p);
    };
    QObject::connect(champ, &QLineEdit::textChanged, champ, colore);
    colore();
}

} // namespace

void installe(QLineEdit *pharmacie, QLineEdit *codeEtablissement, QLineEdit *url, QLineEdit *identifiant,
              QLineEdit *clef)
{
    const auto identifiantValide = [](const QString &texte) {
        return Schema::respecte(texte, Schema::identifiant);
    };
    surveille(pharmacie, QStringLiteral("Obligatoire : le nom de la pharmacie figure dans chaque demande."),
              [](const QString &texte) { return !texte.isEmpty(); });
    surveille(codeEtablissement, QStringLiteral("Obligatoire : 1 à 20 caractères, sans espace."),
              identifiantValide);
    surveille(url,
              QStringLiteral("Obligatoire : http://adresse/chemin ou https://adresse/chemin, avec au besoin "
                             "utilisateur:mot de passe@ devant l'adresse et :port après elle."),
              [](const QString &texte) { return Http::decoupeUrl(texte).has_value(); });
    surveille(identifiant, QStringLiteral("Obligatoire : 1 à 20 caractères, sans espace."),
              identifiantValide);
    surveille(clef, QStringLiteral("Obligatoire : la clef secrète signe chaque demande."),
              [](const QString &texte) { return !texte.isEmpty(); });
}

} // namespace ChampsRequis
