#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where the settings file is: beside the program when one is there (the portable layout, and the
// build folder), otherwise in the user's configuration folder.
namespace SettingsLocation {

inline constexpr char kFileName[] = "Lexivar.ini";

// The user's configuration folder for Lexivar: $XDG_CONFIG_HOME/Lexivar, else
// $HOME/.config/Lexivar; empty when neither gives an absolute folder.
QString userFolder(const QProcessEnvironment& environment);

QString resolve(const QString& programFolder, const QProcessEnvironment& environment);

// Makes the settings file's folder, owner-only, when it is missing (a first start); false if it
// cannot be made.
bool makeFolderFor(const QString& settingsFile);

} // namespace SettingsLocation
