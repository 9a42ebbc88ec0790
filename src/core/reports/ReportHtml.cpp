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
        const char16_t c = chars[i++];
        if (c < 256) {
            out.append(table.bytes[c]);
            // CR LF is one break.
            i += c == u'\r' && i < n && chars[i] == u'\n' ? 1 : 0;
        } else if (QChar::isHighSurrogate(c) && i < n && QChar::isLowSurrogate(chars[i])) {
            appendReference(out, QChar::surrogateToUcs4(c, chars[i++]));
        } else {
            appendReference(out, c);
        }
    }
    if (opening) {
        out.append("</P>");
    }
}
