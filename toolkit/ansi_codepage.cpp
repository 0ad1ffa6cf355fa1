#include "ansi_codepage.h"

namespace toolkit {

namespace {

// Bytes 0x80..0x9F; everything else is the Latin-1 code point of the same value. The five bytes
// without a character keep their own value, so scrambled data holding them still decodes.
constexpr char16_t highTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

} // namespace

std::optional<unsigned char> ansiByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i) {
        if (highTable[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

QChar ansiChar(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(highTable[byte - 0x80]);
    return QChar(byte);
}

std::optional<QByteArray> toAnsi(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const auto b = ansiByte(c);
        if (!b)
            return std::nullopt;
        bytes.append(static_cast<char>(*b));
    }
    return bytes;
}

QString fromAnsi(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes)
        text += ansiChar(static_cast<unsigned char>(b));
    return text;
}

QChar firstNonAnsiChar(const QString &text)
{
    for (const QChar c : text) {
        if (!ansiByte(c))
            return c;
    }
    return QChar();
}

} // namespace toolkit
