// Reply processing on arbitrary bytes: it must end with one of its outcomes, never crash or hang, and
// an error shown in the result label always goes with the error state of the availability box.
#include "exchange/zoneresultatenregistree.h"
#include "modpharmaml.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ZoneResultatEnregistree zone;
    ModPharmaML module(zone);
    module.PML_TraiteRetour(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (zone.labRetour[1].couleur == Couleurs::rouge && zone.txtInfos[1].texte != QStringLiteral("\r\nREQUETE EN ERREUR"))
        std::abort();
    if (zone.labRetour[2].ecritures + zone.txtInfos[2].ecritures != 0)
        std::abort();
    return 0;
}
