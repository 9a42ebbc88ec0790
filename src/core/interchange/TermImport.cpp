#include "core/interchange/TermImport.h"

#include "core/AppError.h"
#include "core/Clock.h"
#include "core/db/Connection.h"
#include "core/db/JetDialect.h"
#include "core/db/Recordset.h"
#include "core/db/Transaction.h"
#include "core/files/FileIo.h"
#include "core/interchange/CsvReader.h"
#include "core/interchange/TbxReader.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;
constexpr qint64 kProgressEvery = 200;

// Equal keys for texts the search finds equal.
QString key(const QString& text) {
    return JetDialect::sortKey(text.trimmed());
}

QString recordKey(qint64 domainId, const QString& english, const QString& french) {
    return QString::number(domainId) + QChar(0) + key(english) + QChar(0) + key(french);
}

QVariant orNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QString withOtherTerms(const TermEntry& e) {
    QString observation = e.observation;
    auto add = [&](const QString& label, const QStringList& terms) {
        if (terms.size() < 2) {
            return;
        }
        if (!observation.isEmpty()) {
            observation += u"\r\n"_s;
        }
        observation += label + terms.mid(1).join(u" ; "_s);
    };
    add(u"Autres termes anglais : "_s, e.english);
    add(u"Autres termes français : "_s, e.french);
    return observation;
}

qint64 lastId(Connection& connection) {
    Recordset rs;
    rs.open(u"SELECT last_insert_rowid()"_s, connection);
    return rs.value(0).toLongLong();
}

QString plural(qint64 n, const QString& one, const QString& many) {
    return QString::number(n) + u" "_s + (n > 1 ? many : one);
}

} // namespace

TermFile readTermFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileIo::accessError(path);
    }
    if (file.size() > kMaxFileSize) {
        TermFile refused;
        refused.error = u"Le fichier dépasse 256 Mo : il n’est pas lu."_s;
        return refused;
    }
    QByteArray head = file.peek(512);
    if (head.startsWith("\xEF\xBB\xBF")) {
        head.remove(0, 3);
    }
    const QByteArray start = head.trimmed();
    const bool xml =
        start.startsWith('<') || start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF");
    if (xml) {
        return readTbx(file);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw FileIo::accessError(path);
    }
    return readCsv(bytes);
}

TermImportSummary importTermEntries(const DatabaseLocation& location, const TermFile& file,
                                    const QString& userName, const ImportProgress& progress) {
    TermImportSummary summary;
    summary.entriesRead = file.entries.size();
    summary.otherLanguages = file.otherLanguages.values();
    summary.otherLanguages.sort();
    if (!file.error.isEmpty()) {
        summary.fileError = file.error;
        return summary;
    }
    Connection connection;
    connection.open(location, Connection::Mode::ReadWrite);
    Transaction transaction(connection);

    QHash<QString, qint64> domains;
    {
        Recordset rs;
        rs.open(u"SELECT ID, Name FROM Domains"_s, connection);
        for (; !rs.atEnd(); rs.moveNext()) {
            domains.insert(key(rs.value(1).toString()), rs.value(0).toLongLong());
        }
    }
    QSet<QString> records;
    {
        Recordset rs;
        rs.open(u"SELECT DomainID, English, French FROM Files"_s, connection);
        for (; !rs.atEnd(); rs.moveNext()) {
            records.insert(recordKey(rs.value(0).toLongLong(), rs.value(1).toString(),
                                     rs.value(2).toString()));
        }
    }

    const QDateTime now = Clock::now();
    const qint64 total = file.entries.size();
    qint64 done = 0;
    for (const TermEntry& e : file.entries) {
        if (progress && ++done % kProgressEvery == 0) {
            progress(done, total);
        }
        if (!e.refusal.isEmpty()) {
            summary.refused << TermImportSummary::Item{e.label, e.refusal};
            continue;
        }
        const QString english = e.english.value(0);
        const QString french = e.french.value(0);
        const QString domainName =
            e.domain.trimmed().isEmpty() ? u"Sans domaine"_s : e.domain.trimmed();
        qint64 domainId = domains.value(key(domainName), 0);
        const bool newDomain = domainId == 0;
        if (!newDomain && records.contains(recordKey(domainId, english, french))) {
            summary.duplicates << TermImportSummary::Item{
                e.label,
                u"« "_s + english + u" » / « "_s + french + u" » ("_s + domainName + u")"_s};
            continue;
        }
        if (newDomain) {
            connection.execute(u"INSERT INTO Domains (Name) VALUES (?)"_s, {domainName});
            domainId = lastId(connection);
            domains.insert(key(domainName), domainId);
            ++summary.domainsAdded;
        }
        connection.execute(
            u"INSERT INTO Files (English, French, AF, DomainID, DEFINITION, OBSERVATION, "
            u"\"Date\", CreatedBy, DateModified, ModifiedBy) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            {english, french, orNull(e.source), domainId, orNull(e.definition),
             orNull(withOtherTerms(e)), e.created.isValid() ? QVariant(e.created) : QVariant(now),
             e.createdBy.isEmpty() ? QVariant(userName) : QVariant(e.createdBy),
             e.modified.isValid() ? QVariant(e.modified) : QVariant(), orNull(e.modifiedBy)});
        records.insert(recordKey(domainId, english, french));
        ++summary.recordsAdded;
        if (e.english.size() > 1 || e.french.size() > 1) {
            summary.notes << TermImportSummary::Item{
                e.label, u"plusieurs termes par langue : « "_s + english + u" » et « "_s + french +
                             u" » retenus, les autres mis dans l’observation"_s};
        }
        for (const QString& note : e.notes) {
            summary.notes << TermImportSummary::Item{e.label, note};
        }
    }
    transaction.commit();
    connection.close();
    if (progress) {
        progress(total, total);
    }
    return summary;
}

TermImportSummary importTerms(const DatabaseLocation& location, const QString& path,
                              const QString& userName, const ImportProgress& progress) {
    return importTermEntries(location, readTermFile(path), userName, progress);
}

QString termImportText(const TermImportSummary& summary, const QString& path, int maxListed) {
    QString text = u"Importation de « "_s + QFileInfo(path).fileName() + u" »\n"_s;
    if (!summary.fileError.isEmpty()) {
        return text + u"Le fichier est refusé ; aucune fiche n’a été ajoutée.\n"_s +
               summary.fileError + u"\n"_s;
    }
    text += plural(summary.entriesRead, u"entrée lue"_s, u"entrées lues"_s) + u"\n"_s;
    text += plural(summary.recordsAdded, u"fiche ajoutée"_s, u"fiches ajoutées"_s) + u"\n"_s;
    text += plural(summary.domainsAdded, u"domaine ajouté"_s, u"domaines ajoutés"_s) + u"\n"_s;
    text += plural(summary.duplicates.size(), u"doublon écarté"_s, u"doublons écartés"_s) + u"\n"_s;
    text += plural(summary.refused.size(), u"entrée refusée"_s, u"entrées refusées"_s) + u"\n"_s;
    auto list = [&](const QString& title, const QList<TermImportSummary::Item>& items) {
        if (items.isEmpty()) {
            return;
        }
        text += u"\n"_s + title + u"\n"_s;
        qsizetype shown = 0;
        for (const auto& item : items) {
            if (maxListed >= 0 && shown == maxListed) {
                text += u"  … et "_s + QString::number(items.size() - shown) + u" autres\n"_s;
                break;
            }
            text += u"  "_s + item.label + u" : "_s + item.text + u"\n"_s;
            ++shown;
        }
    };
    list(u"Doublons écartés (déjà dans la base ou plus haut dans le fichier) :"_s,
         summary.duplicates);
    list(u"Entrées refusées :"_s, summary.refused);
    list(u"Remarques :"_s, summary.notes);
    if (!summary.otherLanguages.isEmpty()) {
        text += u"\nLangues laissées de côté : "_s + summary.otherLanguages.join(u", "_s) + u"\n"_s;
    }
    return text;
}
