#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The single-byte code page the password and settings files use (Windows-1252).
namespace Cp1252 {

// Byte for a character, or nothing when the code page has no such character.
std::optional<unsigned char> encodeChar(QChar c);
QChar decodeByte(unsigned char b);

// Whole texts; encode gives nothing when any character is outside the code page.
std::optional<QByteArray> encode(const QString& text);
QString decode(const QByteArray& bytes);

// The first character of text that the code page cannot hold, if any.
std::optional<QChar> firstUnencodable(const QString& text);

} // namespace Cp1252
