#pragma once
// Windows-1252, the one-byte code page of files that Windows reads (AUTORUN.INF) and of the
// scrambled login data. The five bytes the code page leaves undefined map to the C1 control
// characters of the same value, so every byte survives a round trip.

#include <QByteArray>
#include <QString>
#include <optional>

namespace toolkit {

// The byte of one character, or nothing when the code page has no such character.
std::optional<unsigned char> ansiByte(QChar c);
QChar ansiChar(unsigned char byte);

// The whole text, or nothing when any character has no byte in the code page.
std::optional<QByteArray> toAnsi(const QString &text);
QString fromAnsi(const QByteArray &bytes);
// The first character that the code page cannot hold, or a null QChar.
QChar firstNonAnsiChar(const QString &text);

} // namespace toolkit
