#include "codeproduit.h"

#include <algorithm>

namespace {

constexpr qsizetype chiffresEan13 = 13;

bool chiffres(QStringView texte, qsizetype longueur)
{
    return texte.size() == longueur && CodeProduit::chiffresSeuls(texte);
}

constexpr qsizetype chiffresCip7 = 7;
constexpr QStringView prefixeCip13 = u"34009";

// The EAN-13 check digit of the first twelve digits: weights 1 and 3 alternate from the left.
QChar cleEan13(QStringView douze)
{
    int somme = 0;
    for (qsizetype i = 0; i < chiffresEan13 - 1; ++i)
        somme += (douze[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return QChar(u'0' + (10 - somme % 10) % 10);
}

} // namespace

namespace CodeProduit {

bool chiffresSeuls(QStringView texte)
{
    return std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool estEan13Valide(QStringView code)
{
    return chiffres(code, chiffresEan13) && cleEan13(code) == code[chiffresEan13 - 1];
}

QString cip13(QStringView code)
{
    if (!chiffres(code, chiffresCip7))
        return code.toString();
    QString douze = prefixeCip13.toString();
    douze += code;
    return douze + cleEan13(douze);
}

bool memeProduit(QStringView demande, QStringView repondu)
{
    if (demande == repondu)
        return !demande.isEmpty();
    if (chiffres(demande, chiffresCip7))
        return repondu == cip13(demande);
    if (chiffres(repondu, chiffresCip7))
        return demande == cip13(repondu);
    return false;
}

QString typeCodification(QStringView code)
{
    return chiffres(code, chiffresEan13) ? QStringLiteral("EAN13") : QStringLiteral("CIP39");
}

QString sansBlancs(QStringView code)
{
    QString texte = code.toString();
    texte.removeIf([](QChar c) { return c.isSpace(); });
    return texte;
}

} // namespace CodeProduit
