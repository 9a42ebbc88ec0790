#include "core/text/Cp1252.h"

namespace {

// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined (they decode to C1 controls).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

namespace Cp1252 {

std::optional<unsigned char> encodeChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return static_cast<unsigned char>(u);
    }
    if (u >= 0x80 && u < 0xA0 && kHigh[u - 0x80] == 0) {
        return static_cast<unsigned char>(u); // an undefined byte read from a file goes back as is
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == u) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

QChar decodeByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) {
        return QChar(kHigh[b - 0x80]);
    }
    return QChar(static_cast<char16_t>(b));
}

std::optional<QByteArray> encode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const auto b = encodeChar(c);
        if (!b) {
            return std::nullopt;
        }
        out.append(static_cast<char>(*b));
    }
    return out;
}

QString decode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        out.append(decodeByte(static_cast<unsigned char>(b)));
    }
    return out;
}

std::optional<QChar> firstUnencodable(const QString& text) {
    for (QChar c : text) {
        if (!encodeChar(c)) {
            return c;
        }
    }
    return std::nullopt;
}

} // namespace Cp1252
