#pragma once

#include <QString>

// The registry stand-in: a key-value store in the settings-file format. Each registry key is a
// section "[HIVE\subkey]"; each value a line "name=data", the key's default value named "@".

enum class Hive { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS };

constexpr const char* kOperaAppPathKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App "
                                         "Paths\\Opera.exe";

// The data of the named value ("" names the default value), or "" when the key or value is
// absent. Value names match exactly, letter case included.
QString keyStoreValue(const QString& valueName, const QString& subkey, Hive hive);

// Where the store lives: $LEXIVAR_REGISTRY, else the user's configuration folder. Tests point it
// elsewhere.
QString keyValueStorePath();
void setKeyValueStorePath(const QString& path);
