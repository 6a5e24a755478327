#pragma once

#include <QByteArray>
#include <QString>

// The private-profile ("INI") file format, read and written one value at a time the way Windows
// does it: section and key names compared without regard to case, blanks around names and values
// ignored, a value in matching quotes read without them, the first of two equal keys and the first
// of two equal sections used, lines that are neither sections nor keys ignored. A line ends with
// CR LF, LF or a lone CR. A file that starts with a byte-order mark is in its encoding: EF BB BF for
// UTF-8, FF FE for UTF-16 LE, FE FF for UTF-16 BE. Without one, a file whose bytes are valid UTF-8
// and not plain ASCII is UTF-8 (kept without a mark); any other is Windows-1252.
namespace PrivateProfile {

// The value of `key` in `section` of the file's bytes; `found` tells whether the key is there.
QString readValue(const QByteArray &file, QStringView section, QStringView key, bool *found);

// The file's bytes with `key` of `section` set to `value`: an existing key line is replaced, a new
// key goes after the section's last non-blank line, a new section at the end. The file keeps its
// encoding and mark (a character Windows-1252 cannot hold becomes "?"); every other line is kept
// byte for byte; new lines end with CR LF. CR and LF in the value become blanks.
QByteArray writeValue(const QByteArray &file, QStringView section, QStringView key, QStringView value);

} // namespace PrivateProfile
