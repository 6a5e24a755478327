// Reply decoding on arbitrary bytes: it must end with one of its outcomes, never crash or hang. Product
// lines come without a message; a failure is told in one of the words the result label shows.
#include "decodeurretour.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ResultatEchange r =
        DecodeurRetour::decode(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const bool connu = r.message.isEmpty() || r.message == QLatin1String("Retour non conforme") ||
                       r.message == QLatin1String("Retour : fin de service") ||
                       r.message.startsWith(QLatin1String("Retour : Erreur ")) ||
                       r.message.startsWith(QLatin1String("PML_TraiteRetour : "));
    if (!connu || (r.issue == ResultatEchange::Issue::Lignes && !r.message.isEmpty()))
        std::abort();
    return 0;
}
