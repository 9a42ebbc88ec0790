#pragma once

#include <QString>

// The Jet dialect the windows write, rewritten for PostgreSQL: what JetDialect does on the file
// backend, done in the statement's text.
namespace ServerDialect {

struct Statement {
    QString text;
    // How many "?" placeholders became "$1", "$2"…
    int placeholders = 0;
    // Whether anything but blanks follows the first statement's semicolon.
    bool severalStatements = false;
};

// "DELETE * FROM" loses its star; "?" becomes "$n"; LIKE ignores letter case under the
// collation that keeps accents, with no escape character as in a file; "BEGIN IMMEDIATE" takes the
// one writers' lock, as the file's write lock does; quoted names are folded like unquoted ones;
// PRAGMA statements (the file engine's settings) are dropped.
Statement translate(const QString& sql);

// The collations the server schema defines: text equality and order ignore letter case, accents
// only breaking ties; LIKE compares lower-cased texts under the second one.
inline constexpr char16_t kTextCollation[] = u"lexivar_nocase";
inline constexpr char16_t kLikeCollation[] = u"lexivar_like";

} // namespace ServerDialect
