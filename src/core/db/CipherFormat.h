#pragma once

struct sqlite3;

// Keeps every base in the one file format all the team's workstations read. SQLCipher 4 changed
// its defaults (key derivation, page checksums); a base written by SQLCipher 3 opens there only
// in its compatibility mode, and a base made there must stay readable by SQLCipher 3.
namespace CipherFormat {

// The engine's major version, read once per process ("4" of "4.6.1 community").
int engineMajorVersion(sqlite3* db);

// Run on every new connection: on a newer engine, the version-3 format becomes the default for the
// databases attached or keyed later (an unencrypted base may attach an encrypted copy).
void applyOnOpen(sqlite3* db);

// Run right after the key is given on a connection: its format, version 3 with 4 KiB pages.
void applyAfterKey(sqlite3* db);

} // namespace CipherFormat
