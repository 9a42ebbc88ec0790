#include "core/interchange/TermExport.h"

#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/files/FileIo.h"
#include "core/interchange/CsvWriter.h"
#include "core/interchange/TbxWriter.h"
#include "core/reports/ReportWriter.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kStatement =
    u"SELECT Files.ID, Domains.Name, Files.English, Files.French, Files.AF, Files.DEFINITION, "
    u"Files.OBSERVATION, Files.\"Date\", Files.CreatedBy, Files.DateModified, Files.ModifiedBy "
    u"FROM Files, Domains WHERE Domains.ID = Files.DomainID"_s;

QString text(const Recordset& rs, int index) {
    return rs.value(index).toString();
}

QDateTime date(const Recordset& rs, int index) {
    const QVariant v = rs.value(index);
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime();
}

void readInto(QList<TermEntry>& entries, Connection& connection, const QString& statement) {
    Recordset rs;
    rs.open(statement, connection, Recordset::Static, Recordset::ReadOnlyLock);
    for (; !rs.atEnd(); rs.moveNext()) {
        TermEntry e;
        e.label = text(rs, 0);
        e.domain = text(rs, 1);
        if (const QString english = text(rs, 2); !english.isEmpty()) {
            e.english << english;
        }
        if (const QString french = text(rs, 3); !french.isEmpty()) {
            e.french << french;
        }
        e.source = text(rs, 4);
        e.definition = text(rs, 5);
        e.observation = text(rs, 6);
        e.created = date(rs, 7);
        e.createdBy = text(rs, 8);
        e.modified = date(rs, 9);
        e.modifiedBy = text(rs, 10);
        entries << e;
    }
}

} // namespace

QList<TermEntry> readTermRecords(const DatabaseLocation& location,
                                 const std::optional<std::vector<std::int32_t>>& ids,
                                 const ImportProgress& progress) {
    Connection connection;
    connection.open(location, Connection::Mode::Read);
    QList<TermEntry> entries;
    if (!ids) {
        readInto(entries, connection, kStatement + u" ORDER BY Files.ID"_s);
    } else {
        const QStringList groups = identifierGroups(*ids);
        for (const QString& group : groups) {
            readInto(entries, connection, kStatement + u" AND ("_s + group + u")"_s);
            if (progress) {
                progress(entries.size(), static_cast<qint64>(ids->size()));
            }
        }
        std::sort(entries.begin(), entries.end(), [](const TermEntry& a, const TermEntry& b) {
            return a.label.toLongLong() < b.label.toLongLong();
        });
    }
    connection.close();
    return entries;
}

QByteArray termFileBytes(const QList<TermEntry>& entries, TermFormat format) {
    return format == TermFormat::Csv ? writeCsv(entries) : writeTbx(entries, format);
}

TermFormat formatForPath(const QString& path, bool tbxV2) {
    if (path.endsWith(u".csv"_s, Qt::CaseInsensitive)) {
        return TermFormat::Csv;
    }
    return tbxV2 ? TermFormat::Tbx2 : TermFormat::Tbx3;
}

qint64 exportTerms(const DatabaseLocation& location,
                   const std::optional<std::vector<std::int32_t>>& ids, const QString& path,
                   TermFormat format, const ImportProgress& progress) {
    const QList<TermEntry> entries = readTermRecords(location, ids, progress);
    FileIo::writeAll(path, termFileBytes(entries, format));
    return entries.size();
}
