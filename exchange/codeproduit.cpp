#include "codeproduit.h"

#include <algorithm>

namespace {

constexpr qsizetype chiffresEan13 = 13;

bool chiffres(QStringView texte, qsizetype longueur) {
    return texte.size() == longueur &&
           std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The EAN-13 check digit of the first twelve digits: weights 1 and 3 alternate from the left.
int cleEan13(QStringView douzeChiffres) {
    int somme = 0;
    for (qsizetype i = 0; i < chiffresEan13 - 1; ++i)
        somme += (douzeChiffres[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return (10 - somme % 10) % 10;
}

} // namespace

namespace CodeProduit {

bool estEan13Valide(QStringView code) {
    return chiffres(code, chiffresEan13) && cleEan13(code) == code[chiffresEan13 - 1].unicode() - u'0';
}

QString cip13(QStringView code) {
    if (!chiffres(code, 7))
        return code.toString();
    const QString sansCle = QStringLiteral("34009") + code.toString();
    return sansCle + QChar(u'0' + cleEan13(sansCle));
}

QString typeCodification(QStringView code) {
    return chiffres(code, chiffresEan13) ? QStringLiteral("EAN13") : QStringLiteral("CIP39");
}

} // namespace CodeProduit
