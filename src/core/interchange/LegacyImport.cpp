#include "core/interchange/LegacyImport.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/JetDate.h"
#include "core/db/Schema.h"
#include "core/db/Transaction.h"
#include "core/files/FileIo.h"
#include "core/files/PasswordFile.h"
#include "core/text/RecordNumber.h"
#include "core/text/VariantKind.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kProgressEvery = 200;

AppError alreadyThere(const QString& path) {
    return AppError(ErrorNumber::PathFileAccess,
                    u"Le fichier « "_s + path +
                        u" » existe déjà : l’importation ne remplace aucun fichier."_s);
}

bool taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Column names are matched without regard to case, as the old program did.
QVariant field(const LegacyRow& row, const QString& name) {
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0) {
            return it.value();
        }
    }
    return {};
}

// A key of a Lexivar table: a whole number from 1 to the largest Jet long.
std::optional<qint64> positiveId(const QVariant& v) {
    qint64 id = 0;
    if (isIntegerValue(v) && v.typeId() != QMetaType::Bool) {
        id = v.toLongLong();
    } else if (isFloatingValue(v)) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::trunc(d) || d > 2147483647.0) {
            return std::nullopt;
        }
        id = static_cast<qint64>(d);
    } else {
        return std::nullopt;
    }
    if (id < 1 || id > std::numeric_limits<qint32>::max()) {
        return std::nullopt;
    }
    return id;
}

QString shown(const QVariant& v) {
    if (v.isNull()) {
        return u"vide"_s;
    }
    return u"« "_s + v.toString() + u" »"_s;
}

struct RowError {
    QString reason;
};

QVariant text(const QVariant& v) {
    if (v.isNull()) {
        return {};
    }
    return QVariant(v.toString());
}

QVariant date(const QVariant& v, const QString& column) {
    if (v.isNull()) {
        return {};
    }
    if (v.typeId() == QMetaType::QDateTime && v.toDateTime().isValid()) {
        return v;
    }
    if (v.typeId() == QMetaType::QDate && v.toDate().isValid()) {
        return QVariant(QDateTime(v.toDate(), QTime(0, 0)));
    }
    throw RowError{u"date non valide dans la colonne "_s + column};
}

QVariant smallNumber(const QVariant& v, const QString& column) {
    if (v.isNull()) {
        return {};
    }
    if (isIntegerValue(v) && v.typeId() != QMetaType::Bool && v.toLongLong() >= -32768 &&
        v.toLongLong() <= 32767) {
        return QVariant(v.toInt());
    }
    throw RowError{u"valeur non valide dans la colonne "_s + column + u" ("_s + shown(v) + u")"_s};
}

class Importer {
public:
    Importer(LegacyTableReader& reader, Connection& connection, LegacyImportSummary& summary,
             const ImportProgress& progress)
        : m_reader(reader), m_connection(connection), m_summary(summary), m_progress(progress) {
        for (const QString& t : {u"Domains"_s, u"Files"_s, u"Passwords"_s}) {
            m_total += m_reader.rowCount(t);
        }
    }

    void run() {
        m_reader.readTable(u"Domains"_s, [this](const LegacyRow& r) {
            guarded(u"Domains"_s, r, m_summary.domains, [&](qint64 id) { addDomain(id, r); });
        });
        m_reader.readTable(u"Files"_s, [this](const LegacyRow& r) {
            guarded(u"Files"_s, r, m_summary.records, [&](qint64 id) { addRecord(id, r); });
        });
        m_reader.readTable(u"Passwords"_s, [this](const LegacyRow& r) {
            guarded(u"Passwords"_s, r, m_summary.accounts, [&](qint64 id) { addAccount(id, r); });
        });
        if (m_progress) {
            m_progress(m_done, std::max(m_total, m_done));
        }
    }

private:
    // One row: stored, or listed with its reason; never the end of the import.
    template <typename Add>
    void guarded(const QString& table, const LegacyRow& row, LegacyImportSummary::Count& count,
                 Add add) {
        ++count.read;
        const QVariant rawId = field(row, u"ID"_s);
        try {
            const auto id = positiveId(rawId);
            if (!id) {
                throw RowError{u"numéro non valide ("_s + shown(rawId) + u")"_s};
            }
            add(*id);
            ++count.imported;
        } catch (const RowError& e) {
            m_summary.skipped.append({table, rawId, e.reason});
        } catch (const AppError& e) {
            m_summary.skipped.append({table, rawId, e.description()});
        }
        if (++m_done % kProgressEvery == 0 && m_progress) {
            m_progress(m_done, std::max(m_total, m_done));
        }
    }

    void addDomain(qint64 id, const LegacyRow& row) {
        if (m_domains.contains(id)) {
            throw RowError{u"numéro en double"_s};
        }
        const QVariant name = text(field(row, u"Name"_s));
        // Names are unique without regard to case (accented letters too) in the new base: the
        // second domain's records go to the first.
        if (!name.isNull()) {
            const QString key = name.toString().toCaseFolded();
            const auto first = m_domainByName.constFind(key);
            if (first != m_domainByName.cend()) {
                m_domains.insert(id, first.value().first);
                throw RowError{u"même nom que le domaine n° "_s +
                               QString::number(first.value().first) + u" (« "_s +
                               first.value().second + u" ») ; ses fiches y sont rattachées"_s};
            }
            m_connection.execute(u"INSERT INTO Domains (ID, Name) VALUES (?, ?)"_s, {id, name});
            m_domainByName.insert(key, {id, name.toString()});
        } else {
            m_connection.execute(u"INSERT INTO Domains (ID, Name) VALUES (?, ?)"_s, {id, name});
        }
        m_domains.insert(id, id);
    }

    void addRecord(qint64 id, const LegacyRow& row) {
        const QVariant rawDomain = field(row, u"DomainID"_s);
        const auto domain = positiveId(rawDomain);
        if (!domain || !m_domains.contains(*domain)) {
            throw RowError{u"domaine "_s + (rawDomain.isNull() ? u"absent"_s
                                                               : u"n° "_s + rawDomain.toString() +
                                                                     u" introuvable"_s)};
        }
        m_connection.execute(
            u"INSERT INTO Files (ID, English, French, AF, DomainID, DEFINITION, OBSERVATION, "
            u"\"Date\", CreatedBy, DateModified, ModifiedBy) "
            u"VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            {id, text(field(row, u"English"_s)), text(field(row, u"French"_s)),
             text(field(row, u"AF"_s)), m_domains.value(*domain), text(field(row, u"DEFINITION"_s)),
             text(field(row, u"OBSERVATION"_s)), date(field(row, u"Date"_s), u"Date"_s),
             text(field(row, u"CreatedBy"_s)),
             date(field(row, u"DateModified"_s), u"DateModified"_s),
             text(field(row, u"ModifiedBy"_s))});
    }

    void addAccount(qint64 id, const LegacyRow& row) {
        m_connection.execute(
            u"INSERT INTO Passwords (ID, Name, Login, Pass, Type) VALUES (?, ?, ?, ?, ?)"_s,
            {id, text(field(row, u"Name"_s)), text(field(row, u"Login"_s)),
             text(field(row, u"Pass"_s)), smallNumber(field(row, u"Type"_s), u"Type"_s)});
    }

    LegacyTableReader& m_reader;
    Connection& m_connection;
    LegacyImportSummary& m_summary;
    const ImportProgress& m_progress;
    qint64 m_total = 0;
    qint64 m_done = 0;
    // Old domain number → the number its records take in the new base.
    QHash<qint64, qint64> m_domains;
    QHash<QString, std::pair<qint64, QString>> m_domainByName;
};

// Renames without ever replacing: where the file system cannot promise that, a hard link does.
void renameNoReplace(const QString& from, const QString& to) {
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        throw errno == EEXIST ? alreadyThere(to) : FileIo::writeError(to, errno);
    }
    if (::link(f.constData(), t.constData()) != 0) {
        throw errno == EEXIST ? alreadyThere(to) : FileIo::writeError(to, errno);
    }
    ::unlink(f.constData());
}

} // namespace

LegacyImportSummary importLegacyDatabase(LegacyTableReader& reader, const QString& targetPath,
                                         const QString& databasePassword,
                                         const ImportProgress& progress) {
    const QString passwordFile = passwordFileOf(targetPath);
    for (const QString& path : {targetPath, passwordFile}) {
        if (taken(path)) {
            throw alreadyThere(path);
        }
    }
    const QByteArray packed = packPassword(databasePassword); // refuses what it cannot hold

    QByteArray name = QFile::encodeName(targetPath + u".import-XXXXXX"_s);
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        throw FileIo::writeError(targetPath, errno);
    }
    ::close(fd);
    const QString temporary = QFile::decodeName(name);
    // The name was reserved under a random suffix; the engine creates the file itself.
    ::unlink(name.constData());
    struct Cleanup {
        QString path;
        bool armed = true;
        ~Cleanup() {
            if (armed) {
                QFile::remove(path + u"-journal"_s);
                QFile::remove(path);
            }
        }
    } cleanup{temporary};

    LegacyImportSummary summary;
    {
        Connection connection;
        connection.createNew(temporary, databasePassword);
        Schema::create(connection);
        connection.execute(u"PRAGMA foreign_keys = ON;"_s);
        Transaction transaction(connection);
        Importer(reader, connection, summary, progress).run();
        transaction.commit();
        connection.close();
    }
    // The password file first: a base without it could not be opened by the team.
    if (taken(passwordFile)) {
        throw alreadyThere(passwordFile);
    }
    FileIo::writeAll(passwordFile, packed, passwordFilePermissions(temporary));
    try {
        renameNoReplace(temporary, targetPath);
    } catch (...) {
        QFile::remove(passwordFile);
        throw;
    }
    cleanup.armed = false;
    FileIo::syncFolder(QFileInfo(targetPath).absolutePath());
    return summary;
}

std::optional<QString> legacyDatabasePassword(const QString& oldDatabasePath) {
    const QString file = passwordFileOf(oldDatabasePath);
    if (!QFileInfo::exists(file)) {
        return std::nullopt;
    }
    return unpackPassword(FileIo::readAll(file));
}

QString convertedDatabasePath(const QString& oldDatabasePath) {
    const QFileInfo info(oldDatabasePath);
    const QString stem = info.absolutePath() + u'/' + info.completeBaseName() + u"-converti"_s;
    for (int n = 1;; ++n) {
        const QString candidate =
            stem + (n == 1 ? QString() : u'-' + QString::number(n)) + u".mdb"_s;
        if (!taken(candidate) && !taken(passwordFileOf(candidate))) {
            return candidate;
        }
    }
}

QString summaryText(const LegacyImportSummary& summary, const QString& targetPath, int maxListed) {
    auto count = [](const QString& label, const LegacyImportSummary::Count& c, bool feminine) {
        return label + u" : "_s + QString::number(c.imported) +
               (feminine ? u" importée"_s : u" importé"_s) + (c.imported > 1 ? u"s"_s : u""_s) +
               u" sur "_s + QString::number(c.read) + (feminine ? u" lue"_s : u" lu"_s) +
               (c.read > 1 ? u"s"_s : u""_s) + u"."_s;
    };
    QString s = u"Importation terminée : « "_s + targetPath + u" ».\n"_s +
                count(u"Domaines"_s, summary.domains, false) + u'\n' +
                count(u"Fiches"_s, summary.records, true) + u'\n' +
                count(u"Usagers"_s, summary.accounts, false) + u'\n';
    if (summary.skipped.isEmpty()) {
        return s + u"Aucune ligne n’a été écartée."_s;
    }
    s += u"Lignes écartées : "_s + QString::number(summary.skipped.size()) + u'\n';
    int listed = 0;
    for (const auto& skip : summary.skipped) {
        if (maxListed >= 0 && listed == maxListed) {
            s += u"… et "_s + QString::number(summary.skipped.size() - listed) + u" autres.\n"_s;
            break;
        }
        const QString what = skip.table == u"Domains"_s ? u"Domaine"_s
                             : skip.table == u"Files"_s ? u"Fiche"_s
                                                        : u"Usager"_s;
        // Records by the number users know ("00042"); odd numbers as they were stored.
        const QString number = skip.id.isNull() ? u"(vide)"_s
                               : skip.table == u"Files"_s && positiveId(skip.id)
                                   ? formatRecordNumber(skip.id)
                                   : skip.id.toString();
        s += u"- "_s + what + u" n° "_s + number + u" : "_s + skip.reason + u".\n"_s;
        ++listed;
    }
    s.chop(1);
    return s;
}
