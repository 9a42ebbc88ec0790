#include "core/files/KeyValueStore.h"

#include "core/files/IniFile.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// Value data is read through 255-character buffers that include the terminating zero.
constexpr qsizetype kMaxData = 254;

QString& storePathOverride() {
    static QString path;
    return path;
}

QString hiveName(Hive hive) {
    switch (hive) {
    case Hive::HKEY_CLASSES_ROOT:
        return u"HKEY_CLASSES_ROOT"_s;
    case Hive::HKEY_CURRENT_USER:
        return u"HKEY_CURRENT_USER"_s;
    case Hive::HKEY_LOCAL_MACHINE:
        return u"HKEY_LOCAL_MACHINE"_s;
    case Hive::HKEY_USERS:
        return u"HKEY_USERS"_s;
    }
    return {};
}

} // namespace

QString keyValueStorePath() {
    if (!storePathOverride().isEmpty()) {
        return storePathOverride();
    }
    const QString env = qEnvironmentVariable("LEXIVAR_REGISTRY");
    if (!env.isEmpty()) {
        return env;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/Lexivar/registry.ini"_s;
}

void setKeyValueStorePath(const QString& path) {
    storePathOverride() = path;
}

QString keyStoreValue(const QString& valueName, const QString& subkey, Hive hive) {
    const IniFile store = IniFile::load(keyValueStorePath());
    const QString wanted = valueName.isEmpty() ? u"@"_s : valueName;
    for (const auto& [name, data] : store.entries(hiveName(hive) + u"\\"_s + subkey)) {
        if (data.size() > kMaxData) {
            return {}; // too long for the buffer: the enumeration stops here
        }
        if (name == wanted) {
            return data;
        }
    }
    return {};
}
