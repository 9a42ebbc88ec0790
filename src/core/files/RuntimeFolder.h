#pragma once

#include <QProcessEnvironment>
#include <QString>

// The folder for the spool file and other short-lived files: a "Lexivar" folder in the user's
// runtime folder ($XDG_RUNTIME_DIR), else a private temporary folder made for this process. Both
// are the user's alone, never a shared or read-only folder.
namespace RuntimeFolder {

// The folder, ending in "/", made on first use; empty if none could be made.
const QString& path();

// Makes the folder for this environment (owner-only; an existing one must be a real folder of
// ours, not a link) and returns it, or an empty string.
QString make(const QProcessEnvironment& environment, const QString& temporaryRoot);

// Points path() at a folder; for tests.
void set(const QString& folder);
// Makes path() empty, as when no folder could be made; for tests.
void setNone();

} // namespace RuntimeFolder
