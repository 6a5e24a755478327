#include "base64.h"

#include "windows1252.h"

#include <algorithm>

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr qsizetype lineLength = 76;

qsizetype encodedLength(qsizetype n)
{
    return (n + 2) / 3 * 4;
}

// Writes the Base64 of `in` to `out` (encodedLength(n) characters).
void encode(const unsigned char *in, qsizetype n, char16_t *out)
{
    qsizetype i = 0;
    for (; i + 3 <= n; i += 3) {
        const uint32_t v = uint32_t(in[i]) << 16 | uint32_t(in[i + 1]) << 8 | in[i + 2];
        *out++ = alphabet[v >> 18];
        *out++ = alphabet[(v >> 12) & 63];
        *out++ = alphabet[(v >> 6) & 63];
        *out++ = alphabet[v & 63];
    }
    if (n - i == 1) {
        const uint32_t v = uint32_t(in[i]) << 16;
        *out++ = alphabet[v >> 18];
        *out++ = alphabet[(v >> 12) & 63];
        *out++ = '=';
        *out++ = '=';
    } else if (n - i == 2) {
        const uint32_t v = uint32_t(in[i]) << 16 | uint32_t(in[i + 1]) << 8;
        *out++ = alphabet[v >> 18];
        *out++ = alphabet[(v >> 12) & 63];
        *out++ = alphabet[(v >> 6) & 63];
        *out++ = '=';
    }
}

QString encodeOneLine(QByteArrayView bytes)
{
    QString text(encodedLength(bytes.size()), Qt::Uninitialized);
    encode(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(),
           reinterpret_cast<char16_t *>(text.data()));
    return text;
}

// 57 bytes make one full line of 76 characters.
constexpr qsizetype bytesPerLine = lineLength / 4 * 3;

} // namespace

QString Base64::Encode64(QStringView text) const
{
    if (text.isEmpty())
        return {};
    return EncodeArray64(Windows1252::fromText(text));
}

QString Base64::EncodeArray64(QByteArrayView bytes) const
{
    const qsizetype length = encodedLength(bytes.size());
    if (length <= lineLength)
        return encodeOneLine(bytes);

    // CR LF after every complete line of 76 characters, the last one included.
    const qsizetype fullLines = length / lineLength;
    QString text(length + 2 * fullLines, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype done = 0;
    for (qsizetype line = 0; line < fullLines; ++line, done += bytesPerLine) {
        // The last full line may end in padding, holding fewer than 57 bytes.
        encode(in + done, std::min(bytesPerLine, bytes.size() - done), out);
        out += lineLength;
        *out++ = u'\r';
        *out++ = u'\n';
    }
    if (done < bytes.size())
        encode(in + done, bytes.size() - done, out);
    return text;
}

QString Base64::EncodeArray64OneLine(QByteArrayView bytes) const
{
    return encodeOneLine(bytes);
}
