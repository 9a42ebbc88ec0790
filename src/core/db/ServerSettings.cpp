#include "core/db/ServerSettings.h"

#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kLongestTimeoutSeconds = 600;

} // namespace

ServerSettings ServerSettings::read() {
    return readFrom(ProgramFolder::settingsFile());
}

ServerSettings ServerSettings::readFrom(const QString& settingsFile) {
    ServerSettings s;
    if (settingsFile.isEmpty()) {
        return s;
    }
    const QString tls = readSetting(u"Database"_s, u"TLS"_s, u"non"_s, settingsFile);
    s.requireTls = tls.compare(u"oui"_s, Qt::CaseInsensitive) == 0;
    bool ok = false;
    const int timeout =
        readSetting(u"Database"_s, u"DelaiConnexion"_s, QString(), settingsFile).toInt(&ok);
    if (ok && timeout > 0) {
        s.timeoutSeconds = std::min(timeout, kLongestTimeoutSeconds);
    }
    return s;
}
