#pragma once

#include <QString>

// The program's folder and the settings file: the one door to them, which tests point at a
// temporary folder.
namespace ProgramFolder {

// The folder, ending in "/".
const QString& path();
// The settings file: path() + "Lexivar.ini" unless placed elsewhere; empty until a folder is set.
const QString& settingsFile();
// Sets the folder, with the settings file in it.
void set(const QString& folder);
// Places the settings file elsewhere (the installed program's per-user file).
void setSettingsFile(const QString& file);
// Whether the settings file is in the program's folder: a portable copy, or the build folder.
bool holdsSettings();

} // namespace ProgramFolder
