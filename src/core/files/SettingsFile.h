#pragma once

#include <QString>

// The settings file: "[section]" and "key=value" lines, read and written in place.

// The longest value the settings file gives back.
constexpr qsizetype kSettingMaxLength = 127;

// The key's value (trimmed, at most 127 characters) or the default when file, section or key is
// absent.
QString readSetting(const QString& section, const QString& key, const QString& defaultValue,
                    const QString& file);

// Writes the key into the section, creating file and section when needed and keeping every other
// line. Reports a failure in the error box and returns false; nothing is written then.
bool writeSetting(const QString& section, const QString& key, const QString& value,
                  const QString& file);
