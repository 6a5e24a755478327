// The settings file reader and writer on arbitrary files, in any of their encodings: reads must not
// crash, and a write must read back as the value stored and leave every other key as it was.
#include "privateprofile.h"
#include "windows1252.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

const char16_t *const sections[] = {u"Infos", u"INFOS", u"Autre"};
const char16_t *const keys[] = {u"NomRepart2", u"ClefCli1", u"clefcli1", u"A"};

bool same(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

// The last byte chooses the section and key written, the one before it the length of the value,
// taken from the bytes before them; what comes first is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QStringView section = sections[data[size - 1] % 3], key = keys[data[size - 1] / 3 % 4];
    const size_t length = std::min<size_t>(data[size - 2], size - 2), fileSize = size - 2 - length;
    // Windows-1252 text, which every encoding of the file holds; blanks around the value, quotes
    // around it and line breaks in it would not read back as such.
    QString value = Windows1252::toText(QByteArrayView(data + fileSize, qsizetype(length)));
    for (QChar &c : value)
        if (c < u' ')
            c = u'.';
    value = u'v' + value + u'v';
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(fileSize));

    const QByteArray written = PrivateProfile::writeValue(file, section, key, value);
    bool stored = false;
    if (PrivateProfile::readValue(written, section, key, &stored) != value || !stored)
        std::abort();
    for (const QStringView s : sections)
        for (const QStringView k : keys) {
            if (same(s, section) && same(k, key))
                continue;
            bool found = false, stillFound = false;
            const QString before = PrivateProfile::readValue(file, s, k, &found);
            if (PrivateProfile::readValue(written, s, k, &stillFound) != before || stillFound != found)
                std::abort();
        }
    return 0;
}
