#include "core/files/PasswordFile.h"

#include "core/AppError.h"
#include "core/ErrorReporter.h"
#include "core/files/DatabaseAddress.h"
#include "core/files/FileIo.h"
#include "core/files/ProgramFolder.h"
#include "core/text/Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <sys/stat.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

void appendInt32(QByteArray& out, qint32 v) {
    char buf[4];
    qToLittleEndian(v, buf);
    out.append(buf, 4);
}

qint32 int32At(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

AppError damaged(const QString& why) {
    return AppError(ErrorNumber::InputPastEnd,
                    u"Le fichier de mot de passe est endommagé ("_s + why + u")."_s);
}

QChar charOf(qint32 code) {
    if (code < 1 || code > 255) {
        throw damaged(u"code de caractère invalide"_s);
    }
    return Cp1252::decodeByte(static_cast<unsigned char>(code));
}

} // namespace

QString passwordFileOf(const QString& databasePath) {
    if (DatabaseAddress::isServer(databasePath)) {
        // A server has no folder to share: its password lies beside the settings.
        const QString settings = ProgramFolder::settingsFile();
        const QString folder =
            settings.isEmpty() ? ProgramFolder::path() : QFileInfo(settings).path() + u'/';
        return folder + u"Lexivar.pws"_s;
    }
    return databasePath.left(std::max<qsizetype>(0, databasePath.size() - 4)) + u".pws"_s;
}

QByteArray packPassword(const QString& password) {
    const auto encoded = Cp1252::encode(password);
    if (!encoded) {
        throw AppError(ErrorNumber::InvalidCall,
                       u"Le mot de passe contient le caractère « "_s +
                           Cp1252::firstUnencodable(password).value_or(u'?') +
                           u" », qui ne peut pas être enregistré. Choisissez un mot de passe "
                           u"fait de lettres, de chiffres et de signes courants."_s);
    }
    QByteArray r = *encoded;
    std::reverse(r.begin(), r.end());
    QByteArray out;
    if (r.isEmpty()) {
        out.append(2, '\0');
        return out;
    }
    const qsizetype n = (r.size() + 2) / 3;
    std::vector<qint32> v(n, 0);
    for (qsizetype i = 0; i < r.size(); ++i) {
        static constexpr qint32 kWeight[] = {1, 1000, 1000000};
        v[i / 3] += static_cast<unsigned char>(r[i]) * kWeight[i % 3];
    }
    appendInt32(out, static_cast<qint32>(n));
    for (qsizetype k = n - 1; k >= 0; --k) {
        appendInt32(out, v[k]);
    }
    return out;
}

QString unpackPassword(const QByteArray& bytes) {
    QByteArray head = bytes.left(4);
    head.append(4 - head.size(), '\0'); // a short file counts its missing bytes as zero
    const qint32 n = int32At(head, 0);
    if (n < 0) {
        throw damaged(u"nombre de valeurs négatif"_s);
    }
    if (n > 0 && bytes.size() < 4 + 4 * static_cast<qint64>(n)) {
        throw damaged(u"fichier tronqué"_s);
    }
    QString s;
    for (qint32 i = n; i >= 1; --i) {
        const qint32 w = int32At(bytes, 4 + 4 * (i - 1));
        if (w < 0) {
            throw damaged(u"valeur négative"_s);
        }
        s += charOf(w % 1000);
        if (w >= 1000) {
            s += charOf((w / 1000) % 1000);
        }
        if (w > 999999) {
            s += charOf(w / 1000000);
        }
    }
    std::reverse(s.begin(), s.end());
    return s;
}

bool readPasswordFile(const QString& file, QString& password) {
    if (!QFile::exists(file)) {
        return false;
    }
    try {
        password = unpackPassword(FileIo::readAll(file));
        return true;
    } catch (const AppError& e) {
        reportError(u"bOpenEncriptPassword"_s, e, ErrorWording::Second);
        return false;
    }
}

FileIo::Permissions passwordFilePermissions(const QString& databasePath) {
    struct stat st {};
    if (::stat(QFile::encodeName(databasePath).constData(), &st) != 0) {
        return {};
    }
    return {static_cast<mode_t>(0600 | (st.st_mode & S_IRGRP)), st.st_gid};
}

namespace {

FileIo::Permissions ownPermissions(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0) {
        return {};
    }
    return {static_cast<mode_t>((st.st_mode & 0660) | 0600), st.st_gid};
}

} // namespace

bool writePasswordFile(const QString& file, const QString& password, const QString& databasePath) {
    try {
        const QByteArray packed = packPassword(password);
        FileIo::writeAll(file, packed,
                         databasePath.isEmpty() ? ownPermissions(file)
                                                : passwordFilePermissions(databasePath));
        return true;
    } catch (const AppError& e) {
        reportError(u"bSaveEncriptPassword"_s, e, ErrorWording::Second);
        return false;
    }
}
