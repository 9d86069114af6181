#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the 8-bit code page of the tape file and the credits text. Bytes 0x80 to 0x9F
// carry its typographic characters; the five bytes it leaves undefined, and every other byte,
// stand for the Latin-1 character of the same number.
QString DecodeWindows1252(const QByteArray& bytes);
// A character the code page cannot represent is written as "?".
QByteArray EncodeWindows1252(const QString& text);
// Appends the encoded text to the bytes.
void AppendWindows1252(QByteArray& bytes, QStringView text);
