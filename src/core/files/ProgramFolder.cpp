#include "core/files/ProgramFolder.h"

using namespace Qt::StringLiterals;

namespace {
QString& folder() {
    static QString value;
    return value;
}
QString& settings() {
    static QString value;
    return value;
}
} // namespace

const QString& ProgramFolder::path() {
    return folder();
}

const QString& ProgramFolder::settingsFile() {
    return settings();
}

void ProgramFolder::set(const QString& f) {
    folder() = f.endsWith(u'/') ? f : f + u'/';
    settings() = folder() + u"Lexivar.ini"_s;
}

void ProgramFolder::setSettingsFile(const QString& file) {
    settings() = file;
}

bool ProgramFolder::holdsSettings() {
    return !folder().isEmpty() && settings() == folder() + u"Lexivar.ini"_s;
}
