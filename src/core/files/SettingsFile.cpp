#include "core/files/SettingsFile.h"

#include "core/AppError.h"
#include "core/ErrorReporter.h"
#include "core/files/FileIo.h"
#include "core/files/IniFile.h"
#include "core/text/Cp1252.h"

#include <QFile>

using namespace Qt::StringLiterals;

QString readSetting(const QString& section, const QString& key, const QString& defaultValue,
                    const QString& file) {
    const IniFile ini = IniFile::load(file);
    const QString value = ini.value(section, key).value_or(defaultValue.trimmed());
    return value.left(kSettingMaxLength);
}

bool writeSetting(const QString& section, const QString& key, const QString& value,
                  const QString& file) {
    try {
        IniFile ini = QFile::exists(file) ? IniFile::parse(FileIo::readAll(file)) : IniFile();
        const QString trimmed = value.trimmed();
        if (trimmed.size() > kSettingMaxLength) {
            throw AppError(ErrorNumber::InvalidCall,
                           u"La valeur est trop longue pour le fichier de configuration ("_s +
                               QString::number(kSettingMaxLength) + u" caractères au plus)."_s);
        }
        if (!ini.setValue(section, key, trimmed)) {
            const QString bad = Cp1252::firstUnencodable(section + key + trimmed).value_or(u'?');
            throw AppError(
                ErrorNumber::InvalidCall,
                u"Le caractère « "_s + bad +
                    u" » ne peut pas être enregistré dans le fichier de configuration."_s);
        }
        FileIo::writeAll(file, ini.bytes());
        return true;
    } catch (const AppError& e) {
        reportError(u"WriteProfile"_s, e);
        return false;
    }
}
