#include "core/db/JetDialect.h"

#include <QRegularExpression>
#include <sqlcipher/sqlite3.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

bool isAscii(const char* s, int n) {
    for (int i = 0; i < n; ++i) {
        if (static_cast<unsigned char>(s[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

int compareAscii(const char* a, int na, const char* b, int nb) {
    const int n = std::min(na, nb);
    for (int i = 0; i < n; ++i) {
        const int ca = (a[i] >= 'A' && a[i] <= 'Z') ? a[i] + 32 : a[i];
        const int cb = (b[i] >= 'A' && b[i] <= 'Z') ? b[i] + 32 : b[i];
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

int compareAsciiText(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = a[i].unicode();
        char16_t cb = b[i].unicode();
        ca = (ca >= u'A' && ca <= u'Z') ? ca + 32 : ca;
        cb = (cb >= u'A' && cb <= u'Z') ? cb + 32 : cb;
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool asciiOnly(QStringView s) {
    for (QChar c : s) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

QString baseLetters(QStringView s) {
    const QString decomposed = s.toString().normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) {
            out += c;
        }
    }
    return out.toCaseFolded();
}

std::vector<char32_t> folded(QStringView s) {
    std::vector<char32_t> out;
    out.reserve(s.size());
    for (char32_t c : s.toString().toCaseFolded().toUcs4()) {
        out.push_back(c);
    }
    return out;
}

int collate(void*, int na, const void* a, int nb, const void* b) {
    const auto* sa = static_cast<const char*>(a);
    const auto* sb = static_cast<const char*>(b);
    if (isAscii(sa, na) && isAscii(sb, nb)) {
        return compareAscii(sa, na, sb, nb);
    }
    return JetDialect::compareText(QString::fromUtf8(sa, na), QString::fromUtf8(sb, nb));
}

QString textArg(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                             sqlite3_value_bytes(v));
}

// One UTF-8 character's length from its lead byte.
int utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

unsigned char lowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// LIKE for a pattern made of ASCII only, straight on the value's UTF-8 bytes: an ASCII letter
// can only match an ASCII letter, whatever case folding does to accented ones. Scanning a
// large base compares millions of values, so no text is converted.
bool likeAscii(const unsigned char* s, int n, const unsigned char* p, int m) {
    int si = 0, pi = 0, starP = -1, starS = 0;
    while (si < n) {
        if (pi < m && p[pi] == '%') {
            starP = ++pi;
            starS = si;
            continue;
        }
        if (pi < m && (p[pi] == '_' || lowerAscii(p[pi]) == lowerAscii(s[si]))) {
            si += p[pi] == '_' ? utf8Length(s[si]) : 1;
            ++pi;
            continue;
        }
        if (starP < 0) {
            return false;
        }
        pi = starP;
        si = starS += utf8Length(s[starS]);
    }
    while (pi < m && p[pi] == '%') {
        ++pi;
    }
    return pi == m && si == n;
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    // The engine calls like(pattern, value[, escape]).
    const auto* pattern = sqlite3_value_text(argv[0]);
    const int patternBytes = sqlite3_value_bytes(argv[0]);
    const auto* value = sqlite3_value_text(argv[1]);
    const int valueBytes = sqlite3_value_bytes(argv[1]);
    if (argc == 2 && isAscii(reinterpret_cast<const char*>(pattern), patternBytes)) {
        sqlite3_result_int(ctx, likeAscii(value, valueBytes, pattern, patternBytes) ? 1 : 0);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = textArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.front();
    }
    sqlite3_result_int(ctx,
                       JetDialect::likeMatch(textArg(argv[1]), textArg(argv[0]), escape) ? 1 : 0);
}

} // namespace

namespace JetDialect {

QString translate(const QString& sql) {
    static const QRegularExpression deleteStar(u"\\bDELETE\\s+\\*\\s*FROM\\b"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    // rewrite only outside quoted literals.
    QString out;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar quote = sql.at(i);
        if (quote == u'\'' || quote == u'"') {
            qsizetype j = i + 1;
            while (j < sql.size() && sql.at(j) != quote) {
                ++j;
            }
            out += sql.mid(i, j + 1 - i);
            i = j + 1;
            continue;
        }
        qsizetype j = i;
        while (j < sql.size() && sql.at(j) != u'\'' && sql.at(j) != u'"') {
            ++j;
        }
        out += sql.mid(i, j - i).replace(deleteStar, u"DELETE FROM"_s);
        i = j;
    }
    return out;
}

int compareText(QStringView a, QStringView b) {
    if (asciiOnly(a) && asciiOnly(b)) {
        return compareAsciiText(a, b);
    }
    const int base = baseLetters(a).compare(baseLetters(b));
    if (base != 0) {
        return base < 0 ? -1 : 1;
    }
    const int full = a.toString().toCaseFolded().compare(b.toString().toCaseFolded());
    return full < 0 ? -1 : (full > 0 ? 1 : 0);
}

bool isAsciiText(QStringView text) {
    return asciiOnly(text);
}

QString sortKey(QStringView text) {
    const bool ascii = asciiOnly(text);
    const QString folded = ascii ? text.toString().toLower() : text.toString().toCaseFolded();
    const QString base = ascii ? folded : baseLetters(text);
    return base + QChar(1) + folded;
}

bool likeMatch(QStringView value, QStringView pattern, QChar escape) {
    const std::vector<char32_t> s = folded(value);
    const std::vector<char32_t> p = folded(pattern);
    const char32_t esc = escape.isNull() ? 0 : QString(escape).toCaseFolded().front().unicode();
    size_t si = 0, pi = 0;
    size_t starP = std::string::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == U'%') {
            starP = ++pi;
            starS = si;
            continue;
        }
        if (pi < p.size()) {
            const bool escaped = esc != 0 && p[pi] == esc && pi + 1 < p.size();
            const char32_t pc = escaped ? p[pi + 1] : p[pi];
            if ((!escaped && pc == U'_') || pc == s[si]) {
                pi += escaped ? 2 : 1;
                ++si;
                continue;
            }
        }
        if (starP == std::string::npos) {
            return false;
        }
        pi = starP;
        si = ++starS;
    }
    while (pi < p.size() && p[pi] == U'%') {
        ++pi;
    }
    return pi == p.size();
}

void install(sqlite3* db) {
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, collate, nullptr);
    for (int argc : {2, 3}) {
        sqlite3_create_function_v2(db, "like", argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   likeFunction, nullptr, nullptr, nullptr);
    }
}

} // namespace JetDialect
