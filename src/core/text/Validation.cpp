#include "core/text/Validation.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Slash stays allowed here: it is the folder separator on this system.
const QString kForbiddenFileChars = u"*?<>|\""_s;
const QString kDigits = u"0123456789"_s;
constexpr int kLastControlKey = 26;

// Indexed by character code: every converted letter lies below 256.
using EntityTable = std::array<QString, 256>;

const EntityTable& entityTable() {
    static const EntityTable table = [] {
        EntityTable t;
        const struct {
            const char16_t* letters;
            const char* suffix;
        } rows[] = {
            {u"áéíóú", "acute"}, {u"ÁÉÍÓÚ", "acute"}, {u"àèìòù", "grave"}, {u"ÀÈÌÒÙ", "grave"},
            {u"âêîôû", "circ"},  {u"ÂÊÎÔÛ", "circ"},  {u"äëïöüÿ", "uml"},  {u"ÄËÏÖÜ", "uml"},
            {u"õñ", "tilde"},    {u"ÕÑ", "tilde"},    {u"ç", "cedil"},     {u"Ç", "cedil"},
        };
        for (const auto& row : rows) {
            const QString letters = QString::fromUtf16(row.letters);
            for (QChar c : letters) {
                const QString base = QString(c).normalized(QString::NormalizationForm_D).left(1);
                t[c.unicode()] = u"&"_s + base + QLatin1StringView(row.suffix) + u";"_s;
            }
        }
        return t;
    }();
    return table;
}

// The alignment a paragraph is opened with; none for 0 or an unknown value.
QLatin1StringView paragraphAlignment(std::int32_t alignment) {
    static const char* const kAlign[] = {"left", "center", "right", "justify"};
    return alignment >= 1 && alignment <= 4 ? QLatin1StringView(kAlign[alignment - 1])
                                            : QLatin1StringView();
}

// Characters that need more than a copy: carriage return, the table's letters, and the blank
// when runs of blanks become non-breaking.
const std::array<bool, 256>& specialCharacters(bool blanks) {
    static const auto build = [](bool withBlank) {
        std::array<bool, 256> t{};
        t[u' '] = withBlank;
        t[u'\r'] = true;
        for (int c = 0; c < 256; ++c) {
            t[c] = t[c] || !entityTable()[c].isEmpty();
        }
        return t;
    };
    static const std::array<bool, 256> withBlank = build(true);
    static const std::array<bool, 256> withoutBlank = build(false);
    return blanks ? withBlank : withoutBlank;
}

} // namespace

const QString& htmlEntityOf(char16_t c) {
    static const QString none;
    return c < 256 ? entityTable()[c] : none;
}

QString validatedHtml(const QString& text, std::int32_t& alignment, bool nonBreakingSpaces,
                      bool noWrap) {
    const bool definitionList = text.startsWith(u"<DD>"_s) && text.endsWith(u"</DD>"_s);
    const auto& table = entityTable();
    const std::array<bool, 256>& special = specialCharacters(nonBreakingSpaces);
    const QLatin1StringView align = paragraphAlignment(alignment);
    // One string: the paragraph and no-wrap tags around the converted text.
    QString out;
    out.reserve(text.size() + text.size() / 4 + 48);
    if (!align.isEmpty()) {
        out += u"<P ALIGN=\""_s + align + u"\">"_s;
    }
    if (noWrap) {
        out += u"<NOBR>"_s;
    }
    bool previousWasSpace = false;
    bool lineBreakEmitted = false;
    const QChar* chars = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // A run of characters copied as they are goes out in one piece.
        qsizetype run = i;
        while (run < n && (chars[run].unicode() >= 256 || !special[chars[run].unicode()])) {
            ++run;
        }
        if (run > i) {
            out.append(chars + i, run - i);
            previousWasSpace = lineBreakEmitted = false;
            i = run;
            continue;
        }
        const QChar c = chars[i];
        if (c == u' ') {
            out += !previousWasSpace ? u" "_s : u"&nbsp;"_s;
            previousWasSpace = true;
            lineBreakEmitted = false;
        } else if (c == u'\r') {
            if (!definitionList) {
                out += u"<br>"_s;
            } else if (!lineBreakEmitted) {
                out += u"</DD>\r\n<DD>"_s;
                lineBreakEmitted = true;
            }
            previousWasSpace = false;
            ++i; // the line feed of the pair is skipped unseen
        } else {
            out += table[c.unicode()];
            previousWasSpace = lineBreakEmitted = false;
        }
        ++i;
    }
    if (noWrap) {
        out += u"</NOBR>"_s;
    }
    if (!align.isEmpty()) {
        out += u"</P>"_s;
    }
    return out;
}

bool isValidFileName(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (QChar c : text) {
        if (kForbiddenFileChars.contains(c)) {
            return false;
        }
    }
    return true;
}

void filterTextKey(std::int16_t& keyCode) {
    if (keyCode > kLastControlKey && kForbiddenFileChars.contains(QChar(keyCode))) {
        keyCode = 0;
    }
}

void filterNumberKey(std::int16_t& keyCode) {
    if (keyCode > kLastControlKey && !kDigits.contains(QChar(keyCode))) {
        keyCode = 0;
    }
}

QString quotesDoubled(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        out += c;
        if (c == u'\'') {
            out += c;
        }
    }
    return out;
}
