#pragma once

#include <QString>

// A term base of N records with realistic text lengths and accented French, on disk and
// encrypted like a user's, with its password file beside it.
namespace SyntheticDatabase {

constexpr const char* kPassword = "banc-d'essai";

// Creates `path` (replacing a previous bench database) with `records` records.
void create(const QString& path, int records);

} // namespace SyntheticDatabase
