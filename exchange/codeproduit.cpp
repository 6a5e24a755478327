#include "codeproduit.h"

#include <algorithm>

namespace {

constexpr qsizetype chiffresEan13 = 13;

bool chiffres(QStringView texte, qsizetype longueur) {
    return texte.size() == longueur && CodeProduit::chiffresSeuls(texte);
}

} // namespace

namespace CodeProduit {

bool chiffresSeuls(QStringView texte) {
    return std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool estEan13Valide(QStringView code) {
    if (!chiffres(code, chiffresEan13))
        return false;
    // Weights 1 and 3 alternate from the left over the first twelve digits.
    int somme = 0;
    for (qsizetype i = 0; i < chiffresEan13 - 1; ++i)
        somme += (code[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return (10 - somme % 10) % 10 == code[chiffresEan13 - 1].unicode() - u'0';
}

QString typeCodification(QStringView code) {
    return chiffres(code, chiffresEan13) ? QStringLiteral("EAN13") : QStringLiteral("CIP39");
}

QString sansBlancs(QStringView code) {
    QString texte = code.toString();
    texte.removeIf([](QChar c) { return c.isSpace(); });
    return texte;
}

} // namespace CodeProduit
