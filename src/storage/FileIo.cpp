#include "FileIo.h"

#include "common/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace FileIo {

AppError accessError(const QString& path) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        return AppError(ErrorNumber::PathNotFound, u"Chemin d’accès introuvable : "_s + path);
    }
    return AppError(ErrorNumber::PathFileAccess,
                    u"Erreur d’accès au chemin ou au fichier : "_s + path);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.exists()) {
        throw AppError(ErrorNumber::FileNotFound, u"Fichier introuvable : "_s + path);
    }
    if (!f.open(QIODevice::ReadOnly)) {
        throw accessError(path);
    }
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        throw accessError(path);
    }
    return data;
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        throw accessError(path);
    }
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        f.cancelWriting();
        throw accessError(path);
    }
}

} // namespace FileIo
