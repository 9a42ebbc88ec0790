#include "core/db/CipherFormat.h"

#include "core/AppError.h"
#include "core/db/SqliteError.h"

#include <sqlcipher/sqlite3.h>

namespace {

constexpr int kCompatibleMajor = 3;

int readMajorVersion(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    int major = kCompatibleMajor;
    if (sqlite3_prepare_v2(db, "PRAGMA cipher_version;", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        if (text != nullptr && *text >= '0' && *text <= '9') {
            major = 0;
            for (; *text >= '0' && *text <= '9'; ++text) {
                major = major * 10 + (*text - '0');
            }
        }
    }
    sqlite3_finalize(statement);
    return major;
}

void exec(sqlite3* db, const char* sql) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteError(db, rc);
    }
}

} // namespace

namespace CipherFormat {

int engineMajorVersion(sqlite3* db) {
    static const int major = readMajorVersion(db);
    return major;
}

void applyOnOpen(sqlite3* db) {
    if (engineMajorVersion(db) > kCompatibleMajor) {
        exec(db, "PRAGMA cipher_default_compatibility = 3;");
    }
}

void applyAfterKey(sqlite3* db) {
    if (engineMajorVersion(db) > kCompatibleMajor) {
        exec(db, "PRAGMA cipher_compatibility = 3;");
    }
    exec(db, "PRAGMA cipher_page_size = 4096;");
}

} // namespace CipherFormat
