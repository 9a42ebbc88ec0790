#include "core/reports/ReportHtml.h"

#include "core/text/Validation.h"

#include <QString>
#include <array>

namespace {

// What each character below 256 becomes; `plain` for those written as their own byte.
struct Replacements {
    std::array<QByteArray, 256> bytes;
    std::array<bool, 256> plain{};
};

const Replacements& replacements() {
    static const Replacements table = [] {
        Replacements t;
        for (char16_t c = 0; c < 256; ++c) {
            t.bytes[c] = htmlEntityOf(c).toLatin1();
        }
        t.bytes[u'<'] = "&lt;";
        t.bytes[u'>'] = "&gt;";
        t.bytes[u'&'] = "&amp;";
        t.bytes[u'\r'] = "<br>";
        t.bytes[u'\n'] = "<br>";
        for (int c = 0; c < 256; ++c) {
            t.plain[c] = t.bytes[c].isEmpty();
        }
        return t;
    }();
    return table;
}

void appendReference(QByteArray& out, char32_t code) {
    out.append("&#");
    out.append(QByteArray::number(static_cast<uint>(code)));
    out.append(';');
}

const char* openingOf(std::int32_t alignment) {
    static const char* const kOpenings[] = {"<P ALIGN=\"left\">", "<P ALIGN=\"center\">",
                                            "<P ALIGN=\"right\">", "<P ALIGN=\"justify\">"};
    return alignment >= 1 && alignment <= 4 ? kOpenings[alignment - 1] : nullptr;
}

// The code point of the well-formed UTF-8 sequence starting at `p` (`n` bytes left), and its
// length; 0 for anything else (cut short, overlong, a surrogate, beyond U+10FFFF).
int decodeUtf8(const unsigned char* p, qsizetype n, char32_t& code) {
    const unsigned char lead = p[0];
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > n || lead > 0xF4) {
        return 0;
    }
    code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (p[k] & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < kSmallest[length] || surrogate || code > 0x10FFFF ? 0 : length;
}

// One character that is not part of a plain run; true when it was a carriage return (the line
// feed after it then belongs to the same break).
bool appendCharacter(QByteArray& out, char32_t code, const Replacements& table) {
    if (code >= 256) {
        appendReference(out, code);
    } else if (table.plain[code]) {
        out.append(static_cast<char>(code));
    } else {
        out.append(table.bytes[code]);
    }
    return code == u'\r';
}

} // namespace

void appendReportHtml(QByteArray& out, QStringView text, std::int32_t alignment) {
    const Replacements& table = replacements();
    const char* opening = openingOf(alignment);
    if (opening) {
        out.append(opening);
    }
    const char16_t* chars = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // A run of characters written as their own bytes goes out in one piece.
        qsizetype run = i;
        while (run < n && chars[run] < 256 && table.plain[chars[run]]) {
            ++run;
        }
        if (run > i) {
            const qsizetype at = out.size();
            out.resize(at + run - i);
            char* into = out.data() + at;
            for (; i < run; ++i) {
                *into++ = static_cast<char>(chars[i]);
            }
            continue;
        }
        char32_t code = chars[i++];
        if (QChar::isHighSurrogate(code) && i < n && QChar::isLowSurrogate(chars[i])) {
            code = QChar::surrogateToUcs4(static_cast<char16_t>(code), chars[i++]);
        }
        if (appendCharacter(out, code, table) && i < n && chars[i] == u'\n') {
            ++i;
        }
    }
    if (opening) {
        out.append("</P>");
    }
}

void appendReportHtml(QByteArray& out, QUtf8StringView text, std::int32_t alignment) {
    const Replacements& table = replacements();
    const qsizetype start = out.size();
    const char* opening = openingOf(alignment);
    if (opening) {
        out.append(opening);
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // A run of ASCII characters written as their own bytes goes out in one piece.
        qsizetype run = i;
        while (run < n && bytes[run] < 0x80 && table.plain[bytes[run]]) {
            ++run;
        }
        if (run > i) {
            out.append(reinterpret_cast<const char*>(bytes + i), run - i);
            i = run;
            continue;
        }
        char32_t code = bytes[i];
        if (code >= 0x80) {
            const int length = decodeUtf8(bytes + i, n - i, code);
            if (length == 0) {
                // Ill-formed: the text is decoded as the rest of the program decodes it.
                out.resize(start);
                appendReportHtml(out, text.toString(), alignment);
                return;
            }
            i += length;
        } else {
            ++i;
        }
        if (appendCharacter(out, code, table) && i < n && bytes[i] == '\n') {
            ++i;
        }
    }
    if (opening) {
        out.append("</P>");
    }
}
