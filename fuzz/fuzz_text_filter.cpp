// The text filter on any text: the length is kept, only ASCII letters, digits and blanks come out,
// letters and digits stay where they were, and the letters of the folding table become their base
// letter as Unicode decomposes them.
#include "constructeurrequete.h"
#include "windows1252.h"

#include <cstdint>
#include <cstdlib>

namespace {

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

bool simple(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

void essaie(ConstructeurRequete &constructeur, const QString &texte)
{
    static const QString table = QStringLiteral("àâäáåªçèéêëïîìíñôöòóüùûúÄÅÇÉÑÖÜ");
    const QString filtre = constructeur.PML_FiltreTexte(texte);
    verifie(filtre.size() == texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        const QChar attendu = simple(c) ? c : table.contains(c) ? c.decomposition().at(0) : QChar(u' ');
        verifie(filtre[i] == attendu);
    }
    // Filtering is done once and for all.
    verifie(constructeur.PML_FiltreTexte(filtre) == filtre);
    verifie(constructeur.prendsEchecs().isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ConstructeurRequete constructeur;
    essaie(constructeur,
           Windows1252::toText(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
    essaie(constructeur, QString(reinterpret_cast<const QChar *>(data), qsizetype(size / 2)));
    essaie(constructeur, QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
