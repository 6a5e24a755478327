#pragma once

#include <QByteArray>
#include <QString>

// The "ANSI code page" of the program on every platform: Windows-1252.
namespace Windows1252 {

// One byte per character; a character without a Windows-1252 byte becomes '?'.
QByteArray fromText(QStringView text);

// Every byte has a character (the five bytes Windows-1252 leaves unassigned map to U+0081 etc.).
QString toText(QByteArrayView bytes);

} // namespace Windows1252
