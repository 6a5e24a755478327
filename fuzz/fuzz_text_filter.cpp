// PML_FiltreTexte on any text: the length is kept, only ASCII letters, digits and blanks come out,
// letters and digits stay where they were, and the letters of the folding table become plain.
#include "exchange/zoneresultatenregistree.h"
#include "modpharmaml.h"
#include "windows1252.h"

#include <cstdint>
#include <cstdlib>

namespace {

void verifie(bool condition) {
    if (!condition)
        std::abort();
}

bool simple(QChar c) {
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

void essaie(ModPharmaML &module, const QString &texte) {
    static const QString accentues = QStringLiteral("àâäáåªçèéêëïîìíñôöòóüùûúÄÅÇÉÑÖÜ");
    static const QString simples = QStringLiteral("aaaaaaceeeeiiiinoooouuuuAACENOU");
    const QString filtre = module.PML_FiltreTexte(texte);
    verifie(filtre.size() == texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        const qsizetype accent = accentues.indexOf(c);
        const QChar attendu = simple(c) ? c : accent >= 0 ? simples[accent] : QChar(u' ');
        verifie(filtre[i] == attendu);
    }
    // Filtering is done once and for all.
    verifie(module.PML_FiltreTexte(filtre) == filtre);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ZoneResultatEnregistree zone;
    ModPharmaML module(zone);
    essaie(module,
           Windows1252::toText(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));
    essaie(module, QString(reinterpret_cast<const QChar *>(data), qsizetype(size / 2)));
    essaie(module, QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    verifie(zone.labRetour[1].ecritures == 0);
    return 0;
}
