#include "basIni.h"

#include "FileIo.h"
#include "IniFile.h"
#include "common/AppError.h"
#include "common/Cp1252.h"
#include "common/ErrorBox.h"

#include <QFile>

using namespace Qt::StringLiterals;

QString sGetProfile(const QString& section, const QString& key, const QString& defaultValue,
                    const QString& file) {
    const IniFile ini = IniFile::load(file);
    const QString value = ini.value(section, key).value_or(defaultValue.trimmed());
    return value.left(kProfileValueMaxLength);
}

bool WriteProfile(const QString& section, const QString& key, const QString& value,
                  const QString& file) {
    try {
        IniFile ini = QFile::exists(file) ? IniFile::parse(FileIo::readAll(file)) : IniFile();
        const QString trimmed = value.trimmed();
        if (trimmed.size() > kProfileValueMaxLength) {
            throw AppError(ErrorNumber::InvalidCall,
                           u"La valeur est trop longue pour le fichier de configuration ("_s +
                               QString::number(kProfileValueMaxLength) +
                               u" caractères au plus)."_s);
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
        ShowErrorBox(u"WriteProfile"_s, e);
        return false;
    }
}
