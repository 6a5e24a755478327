// The settings file reader and writer on arbitrary files: reads must not crash, and a write must keep
// the value readable and every other key as it was.
#include "privateprofile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    bool found = false;
    const QString before = PrivateProfile::readValue(file, u"Infos", u"NomRepart2", &found);

    const QByteArray written = PrivateProfile::writeValue(file, u"Infos", u"ClefCli1", u"k\r\ney");
    bool stored = false;
    if (PrivateProfile::readValue(written, u"Infos", u"ClefCli1", &stored) != QStringLiteral("k  ey") || !stored)
        std::abort();
    bool stillFound = false;
    const QString after = PrivateProfile::readValue(written, u"Infos", u"NomRepart2", &stillFound);
    if (stillFound != found || after != before)
        std::abort();
    return 0;
}
