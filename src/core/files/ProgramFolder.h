#pragma once

#include <QString>

// The program's folder and the settings file in it: the one door to them, which tests point at
// a temporary folder.
namespace ProgramFolder {

// The folder, ending in "/".
const QString& path();
// path() + "Lexivar.ini"; empty until a folder is set.
const QString& settingsFile();
void set(const QString& folder);

} // namespace ProgramFolder
