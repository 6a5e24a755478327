// Reply gathering and de-chunking on arbitrary byte streams cut at arbitrary points. The first four
// bytes choose the cut points, the rest is what the socket delivers. However the stream is cut, the
// outcome must be the one of the stream delivered whole.
#include "http.h"

#include <QStringConverter>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using Http::AssembleurRetour;

void verifie(bool condition)
{
    if (!condition)
        std::abort();
}

// The lengths of the pieces, drawn from the four bytes: from one byte to a few hundred.
QList<qsizetype> coupures(quint32 graine, qsizetype taille)
{
    QList<qsizetype> pieces;
    quint32 x = graine | 1;
    for (qsizetype fait = 0; fait < taille;) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const qsizetype n = std::min<qsizetype>(taille - fait, 1 + (x % (1u << (x >> 28 & 7))));
        pieces.append(n);
        fait += n;
    }
    return pieces;
}

struct Issue {
    AssembleurRetour::Etat etat = AssembleurRetour::Etat::EnCours;
    QByteArray retour;
    int statut = 0;
    bool chunked = false;
    friend bool operator==(const Issue &, const Issue &) = default;
};

Issue rassemble(QByteArrayView fil, const QList<qsizetype> &pieces)
{
    AssembleurRetour a;
    Issue issue;
    qsizetype debut = 0;
    for (qsizetype n : pieces) {
        issue.etat = a.ajoute(fil.sliced(debut, n));
        debut += n;
        if (issue.etat != AssembleurRetour::Etat::EnCours)
            break;
    }
    issue.retour = a.retour();
    issue.statut = a.statut();
    issue.chunked = a.chunked();
    // Whatever the ending, nothing of the reply is kept; while it goes on, everything is.
    verifie(issue.etat == AssembleurRetour::Etat::EnCours ? a.recu() == fil.first(debut)
                                                          : a.recu().isEmpty());
    return issue;
}

struct Decodage {
    QByteArray donnees;
    bool termine = false;
    bool malforme = false;
    friend bool operator==(const Decodage &, const Decodage &) = default;
};

Decodage decode(QByteArrayView corps, const QList<qsizetype> &pieces)
{
    Http::DecodeurChunks d;
    qsizetype recu = 0;
    for (qsizetype n : pieces) {
        recu += n;
        d.avance(corps.first(recu));
    }
    return {d.donnees(), d.termine(), d.malforme()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    quint32 graine = 0;
    std::memcpy(&graine, data, 4);
    const QByteArray fil(reinterpret_cast<const char *>(data) + 4, qsizetype(size) - 4);

    const Issue entier = rassemble(fil, {fil.size()});
    verifie(rassemble(fil, coupures(graine, fil.size())) == entier);
    if (fil.size() <= 256)
        verifie(rassemble(fil, QList<qsizetype>(fil.size(), 1)) == entier);

    // The body follows the first header block whose status is not an interim one (1xx).
    qsizetype blanc = -4;
    int statut = 0;
    do {
        const qsizetype debut = blanc + 4;
        blanc = fil.indexOf("\r\n\r\n", debut);
        statut = blanc < 0 ? 0 : Http::PML_StatutHttp(QByteArrayView(fil).sliced(debut, blanc - debut));
    } while (statut >= 100 && statut < 200);
    const QByteArrayView corps = blanc < 0 ? QByteArrayView() : QByteArrayView(fil).sliced(blanc + 4);
    const Decodage dechunke = decode(corps, {corps.size()});
    verifie(decode(corps, coupures(graine ^ 0x9e3779b9u, corps.size())) == dechunke);
    verifie(dechunke.donnees.size() <= corps.size());

    if (entier.etat == AssembleurRetour::Etat::Complet) {
        // The reply is the start of the body, de-chunked when the headers say so, up to its first
        // end tag when it has one in an ASCII-compatible encoding, else as far as its framing says.
        verifie(entier.statut == 200);
        const QByteArrayView texte = entier.chunked ? QByteArrayView(dechunke.donnees) : corps;
        verifie(texte.startsWith(entier.retour));
        const auto encodage = QStringConverter::encodingForData(texte, u'<');
        const bool large =
            encodage && *encodage != QStringConverter::Utf8 && *encodage != QStringConverter::Latin1;
        const qsizetype fin = Http::finEnveloppe(entier.retour);
        verifie(large || fin < 0 || fin == entier.retour.size());
    } else if (entier.etat == AssembleurRetour::Etat::ErreurHttp) {
        verifie(blanc >= 0 && entier.statut == statut && statut != 200);
    } else if (entier.etat == AssembleurRetour::Etat::Malforme) {
        verifie(entier.chunked && dechunke.malforme);
    }
    return 0;
}
