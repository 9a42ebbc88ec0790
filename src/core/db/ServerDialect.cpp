#include "core/db/ServerDialect.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// Any number: all that matters is that every Lexivar writer asks for the same one.
constexpr char16_t kWritersLock[] = u"BEGIN; SELECT pg_advisory_xact_lock(5498003)";

QString rewriteCode(QString code) {
    static const QRegularExpression deleteStar(u"\\bDELETE\\s+\\*\\s*FROM\\b"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression like(u"\\b([A-Za-z_][\\w.]*)(\\s+NOT)?\\s+LIKE\\b"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression likeParameter(u"(\\bILIKE\\s*\\$\\d+)(?!\\s*ESCAPE\\b)"_s,
                                                  QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression begin(
        u"\\bBEGIN\\s+(IMMEDIATE|EXCLUSIVE)(\\s+TRANSACTION)?\\b"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression lastId(u"\\blast_insert_rowid\\s*\\(\\s*\\)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression pragma(u"\\bPRAGMA\\b[^;]*;?"_s,
                                           QRegularExpression::CaseInsensitiveOption);
    code.replace(deleteStar, u"DELETE FROM"_s);
    code.replace(like, u"\\1 COLLATE "_s + QString::fromUtf16(ServerDialect::kLikeCollation) +
                           u"\\2 ILIKE"_s);
    code.replace(likeParameter, u"\\1 ESCAPE ''"_s);
    code.replace(begin, QString::fromUtf16(kWritersLock));
    code.replace(lastId, u"lastval()"_s);
    code.replace(pragma, QString());
    return code;
}

} // namespace

namespace ServerDialect {

Statement translate(const QString& sql) {
    static const QRegularExpression endsWithLike(u"\\bILIKE\\s*$"_s,
                                                 QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression startsWithEscape(u"^\\s*ESCAPE\\b"_s,
                                                     QRegularExpression::CaseInsensitiveOption);
    Statement out;
    bool endedFirst = false;
    bool afterLikePattern = false;
    qsizetype i = 0;
    QString code;
    const auto flushCode = [&] {
        // The server's LIKE takes a backslash as its escape, the file's LIKE has none: a pattern
        // written as text gets none here either.
        if (afterLikePattern && !startsWithEscape.match(code).hasMatch()) {
            out.text += u" ESCAPE ''"_s;
        }
        afterLikePattern = false;
        out.text += rewriteCode(code);
        code.clear();
    };
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            // A doubled quote is part of the text.
            while (j < sql.size() &&
                   (sql.at(j) != c || (j + 1 < sql.size() && sql.at(j + 1) == c))) {
                j += sql.at(j) == c ? 2 : 1;
            }
            flushCode();
            const QString quoted = sql.mid(i, j + 1 - i);
            const bool likePattern = c == u'\'' && endsWithLike.match(out.text).hasMatch();
            // Unquoted names fold to lower case on the server; quoted ones must match them.
            out.text += c == u'"' ? quoted.toLower() : quoted;
            afterLikePattern = likePattern;
            out.severalStatements = out.severalStatements || endedFirst;
            i = j + 1;
            continue;
        }
        if (c == u'?') {
            code += u'$' + QString::number(++out.placeholders);
        } else {
            code += c;
        }
        if (c == u';') {
            endedFirst = true;
        } else if (endedFirst && !c.isSpace()) {
            out.severalStatements = true;
        }
        ++i;
    }
    flushCode();
    return out;
}

} // namespace ServerDialect
