#include "core/reports/ReportWriter.h"

#include "core/AppError.h"
#include "core/Clock.h"
#include "core/ErrorReporter.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/reports/ReportHtml.h"
#include "core/reports/SpoolFile.h"
#include "core/text/FieldText.h"
#include "core/text/RecordNumber.h"
#include "core/text/Validation.h"
#include "core/text/VariantKind.h"

#include <QVarLengthArray>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kGroupSize = 35;
const QString kFullStatement =
    u"SELECT * FROM Files, Domains WHERE Domains.ID = Files.DomainID AND ("_s;
const QString kShortStatement =
    u"SELECT Files.ID, Domains.Name, Files.French, Files.English, Files.CreatedBy, "
    u"Files.DateModified FROM Files, Domains WHERE Domains.ID = Files.DomainID AND ("_s;
const QString kTable = u"<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=3 WIDTH=\"100%\">"_s;
const QString kRow = u"<TR ALIGN=\"LEFT\" VALIGN=\"TOP\">"_s;
const QString kFont = u"<FONT FACE=\"Times New Roman,Times\" "_s;
const QString kLabelCell = u"<TD WIDTH=\"22%\">"_s + kFont + u"SIZE=4>"_s;
const QString kEndCell = u"</FONT></TD>"_s;

bool isDayNumber(const Recordset& rs, int index, const QVariant& raw) {
    return rs.isDateField(index) && isFloatingValue(raw);
}

bool isFileError(const AppError& e) {
    return e.number() == ErrorNumber::PathFileAccess || e.number() == ErrorNumber::PathNotFound;
}

// Text from the database or the user, escaped as a record's texts are (appendReportHtml): "a<b
// & c" prints as typed, every kind of line break is one break. A character beyond ISO-8859-1 is
// already its reference here, as the spool file would write it.
QString escaped(const QString& text) {
    QByteArray bytes;
    appendReportHtml(bytes, text, 0);
    return QString::fromLatin1(bytes);
}

// A record's text before it is escaped.
struct FieldValue {
    QString text;
    std::optional<QUtf8StringView> utf8;
};

// A report in the making: its file, header and trailer, the read-only connection and the
// groups of records. File faults end it at once; other faults are reported and it goes on.
class Report {
public:
    Report(QString procedure, DatabaseLocation location, const QString& spoolPath,
           const QString& title)
        : m_procedure(std::move(procedure)), m_location(std::move(location)), m_file(spoolPath) {
        writeHtmlHeader(m_file, title);
    }

    SpoolFile& file() { return m_file; }

    // A field as text; dates through one formatter for the whole report, from their day
    // numbers (a QDateTime reads the time zone file each time it is made).
    QString text(Recordset& rs, int index) {
        const QVariant v = rs.rawValue(index);
        return isDayNumber(rs, index, v) ? m_dates.dayNumberText(v.toDouble()) : fieldText(v);
    }
    // A field to escape into a line: the engine's own UTF-8 when the field holds text (no
    // string made), else as text() gives it.
    FieldValue value(Recordset& rs, const QString& field) {
        return value(rs, rs.fieldIndex(field));
    }
    FieldValue value(Recordset& rs, int index) {
        if (const std::optional<QUtf8StringView> utf8 = rs.utf8Text(index)) {
            return {{}, utf8};
        }
        return {text(rs, index), std::nullopt};
    }
    QString dateOnly(Recordset& rs, int index) {
        const QVariant v = rs.rawValue(index);
        return isDayNumber(rs, index, v) ? m_dates.dayNumberDate(v.toDouble()) : fieldText(v);
    }

    void line(const QString& text, int indent = 0) { m_file.line(text, indent); }
    void appendWith(const std::function<void(QByteArray&)>& fill) { m_file.appendWith(fill); }

    // Runs `statement` and calls `row` for each record it returns.
    void forEachRow(const QString& statement, const std::function<void(Recordset&)>& row) {
        if (!connect()) {
            return;
        }
        try {
            // Streamed: each record is written as it is read.
            Recordset rs;
            rs.open(statement, m_connection, Recordset::ForwardOnly, Recordset::ReadOnlyLock);
            for (; !rs.atEnd(); rs.moveNext()) {
                guarded([&] { row(rs); });
            }
        } catch (const AppError& e) {
            if (isFileError(e)) {
                throw;
            }
            // The next groups would fail the same way: one box, and no complete-looking report.
            m_readFailed = true;
            reportError(m_procedure, e);
        }
    }

    // The records of the identifier list, group after group.
    void forEachRecord(const QString& statementHead, const IdentifierList& ids,
                       const std::function<void(Recordset&)>& row) {
        for (const QString& group : identifierGroups(ids)) {
            if (!m_readFailed) {
                forEachRow(statementHead + group + u")"_s, row);
            }
        }
    }

    bool finish() {
        m_connection.close();
        const bool result = writeHtmlTrailer(m_file) && !m_readFailed;
        m_file.close();
        return result;
    }

private:
    bool connect() {
        if (m_connection.isOpen() || m_readFailed) {
            return m_connection.isOpen();
        }
        try {
            m_connection.open(m_location, Connection::Mode::Read);
            return true;
        } catch (const AppError& e) {
            // Nothing can be read: one box, and the report is not shown as if complete.
            m_readFailed = true;
            reportError(m_procedure, e);
            return false;
        }
    }

    void guarded(const std::function<void()>& step) {
        try {
            step();
        } catch (const AppError& e) {
            if (isFileError(e)) {
                throw;
            }
            reportError(m_procedure, e);
        }
    }

    QString m_procedure;
    DatabaseLocation m_location;
    SpoolFile m_file;
    ShortDateFormatter m_dates;
    Connection m_connection;
    bool m_readFailed = false;
};

// Runs a generator: any file fault shows the box under its name and gives false.
bool generate(const QString& procedure, const std::function<bool()>& body) {
    try {
        return body();
    } catch (const AppError& e) {
        reportError(procedure, e);
        return false;
    }
}

// The lines of one record: the constant ones encoded once for the whole report (a listing
// writes a hundred a record), the record's own texts between them, escaped as they are written.
// The texts are read first: a record that cannot be read writes nothing.
class RecordLayout {
public:
    // A text of the record, as stored (before escaping).
    using Value = std::function<FieldValue(Report&, Recordset&)>;

    void line(const QString& text, int indent = 0) {
        m_constants.back() += SpoolFile::encodedLine(text, indent);
    }
    // A line holding a text of the record, in a paragraph of this alignment (0: none, 4:
    // justified).
    void value(Value v, std::int32_t alignment) {
        m_values.push_back({std::move(v), alignment});
        m_constants.emplace_back();
    }
    void write(Report& r, Recordset& rs) const {
        QVarLengthArray<FieldValue, 16> texts;
        for (const Slot& slot : m_values) {
            texts.push_back(slot.text(r, rs));
        }
        r.appendWith([&](QByteArray& out) {
            for (qsizetype i = 0; i < texts.size(); ++i) {
                out.append(m_constants[static_cast<size_t>(i)]);
                const std::int32_t alignment = m_values[static_cast<size_t>(i)].alignment;
                if (texts[i].utf8) {
                    appendReportHtml(out, *texts[i].utf8, alignment);
                } else {
                    appendReportHtml(out, texts[i].text, alignment);
                }
                out.append("\r\n");
            }
            out.append(m_constants.back());
        });
    }

private:
    struct Slot {
        Value text;
        std::int32_t alignment;
    };
    std::vector<QByteArray> m_constants{QByteArray()};
    std::vector<Slot> m_values;
};

constexpr std::int32_t kPlain = 0;
constexpr std::int32_t kJustified = 4;

// --- full listing ---

struct FullField {
    const char16_t* label;
    const char16_t* valueCell; // embedded layout
    const char16_t* operaCell;
    const char16_t* field;
};

const FullField kFullFields[] = {
    {u"Numéro de fiche: ", u"<TD ><FONT FACE=\"Times New Roman,Times\" SIZE=3>",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3>", u"Files.Id"},
    {u"Domaine: ", u"<TD ><FONT FACE=\"Times New Roman,Times\" SIZE=3>",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3>", u"Name"},
    {u"Terme français: ", u"<TD ><FONT FACE=\"Times New Roman,Times\" SIZE=3 color=\"Blue\">",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3 color=\"Blue\">", u"French"},
    {u"Terme anglais: ", u"<TD><FONT FACE=\"Times New Roman,Times\" SIZE=3 COLOR=\"red\">",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3 COLOR=\"red\">", u"English"},
    {u"Source AF: ", u"<TD><FONT FACE=\"Times New Roman,Times\" SIZE=3>",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3>", u"AF"},
    {u"Définition: ", u"<TD><FONT FACE=\"Times New Roman,Times\" SIZE=3>",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3>", u"DEFINITION"},
    {u"Observation: ", u"<TD><FONT FACE=\"Times New Roman,Times\" SIZE=3>",
     u"<TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" SIZE=3>", u"OBSERVATION"},
};

void fullValue(RecordLayout& l, int index) {
    const QString field = QString::fromUtf16(kFullFields[index].field);
    if (index == 0) {
        l.value(
            [field](Report&, Recordset& rs) {
                return FieldValue{formatRecordNumber(rs.value(field)), std::nullopt};
            },
            kPlain);
        return;
    }
    l.value([field](Report& r, Recordset& rs) { return r.value(rs, field); }, kJustified);
}

RecordLayout::Value textValue(const QString& field) {
    return [field](Report& r, Recordset& rs) { return r.value(rs, field); };
}

const QString& labelCell(int index) {
    // The first label cell has a blank before its ">".
    static const QString first = kLabelCell.chopped(1) + u" >"_s;
    return index == 0 ? first : kLabelCell;
}

// The labels and cell openers, converted once: every record writes them again.
const QString& fullLabel(int index) {
    static const std::vector<QString> labels = [] {
        std::vector<QString> out;
        for (const FullField& f : kFullFields) {
            out.push_back(escaped(QString::fromUtf16(f.label)));
        }
        return out;
    }();
    return labels[index];
}

const QString& valueCell(int index, bool opera) {
    static const std::vector<QString> cells = [] {
        std::vector<QString> out;
        for (const FullField& f : kFullFields) {
            out.push_back(QString::fromUtf16(f.valueCell));
            out.push_back(QString::fromUtf16(f.operaCell));
        }
        return out;
    }();
    return cells[index * 2 + (opera ? 1 : 0)];
}

const QString kEndRow = u"</TR>"_s;
const QString kEndTable = u"</TABLE>"_s;
const QString kCell28 = u"<TD WIDTH=\"28%\">"_s + kFont + u"SIZE=3>"_s;
const QString kCell35 = u"<TD WIDTH=\"35%\">"_s + kFont + u"SIZE=4>"_s;
const QString kCell15 = u"<TD WIDTH=\"15%\">"_s + kFont + u"SIZE=3>"_s;
const QString kCell28Wide = u"<TD  WIDTH=\"28%\">"_s + kFont + u"SIZE=3>"_s;
const QString kCell15Wide = u"<TD  WIDTH=\"15%\">"_s + kFont + u"SIZE=3>"_s;
const QString kShortCell = u"<TD>"_s + kFont + u"SIZE=-1>"_s;

const QString& staticEscaped(int which) {
    static const QString texts[] = {escaped(u"Date de création: "_s),
                                    escaped(u"Dernière date de modification"_s),
                                    escaped(u"Auteur: "_s), escaped(u"Modifié par: "_s)};
    return texts[which];
}

void emptyRow(RecordLayout& l) {
    static const QString tags[] = {u"<TR>"_s, u"<TD>"_s, u"</TD>"_s, u"</TR>"_s};
    for (const QString& tag : tags) {
        l.line(tag, 6);
    }
}

void fieldRow(RecordLayout& l, int index, bool opera) {
    l.line(kRow, 6);
    l.line(labelCell(index), 9);
    l.line(fullLabel(index));
    l.line(kEndCell, 9);
    l.line(valueCell(index, opera), 9);
    fullValue(l, index);
    l.line(kEndCell, 9);
}

void cell(RecordLayout& l, const QString& open, const QString& content) {
    l.line(open, 9);
    l.line(content);
    l.line(kEndCell, 9);
}

void cell(RecordLayout& l, const QString& open, RecordLayout::Value content,
          std::int32_t alignment) {
    l.line(open, 9);
    l.value(std::move(content), alignment);
    l.line(kEndCell, 9);
}

void dateRow(RecordLayout& l) {
    l.line(kRow, 6);
    cell(l, kLabelCell, staticEscaped(0));
    cell(l, kCell28, textValue(u"Date"_s), kPlain);
    cell(l, kCell35, staticEscaped(1));
    cell(l, kCell15, textValue(u"DateModified"_s), kPlain);
    l.line(kEndRow, 6);
}

void peopleTable(RecordLayout& l) {
    l.line(kTable);
    l.line(kRow, 6);
    cell(l, kLabelCell, staticEscaped(2));
    cell(l, kCell28Wide, textValue(u"CreatedBy"_s), kJustified);
    cell(l, kCell35, staticEscaped(3));
    cell(l, kCell15Wide, textValue(u"MODIFIEDBY"_s), kJustified);
    l.line(kEndTable);
}

RecordLayout fullRecord() {
    RecordLayout l;
    for (int i = 0; i < 7; ++i) {
        l.line(kTable);
        fieldRow(l, i, false);
        l.line(u"</TR>"_s, 6);
        if (i == 6) {
            emptyRow(l);
        }
        l.line(u"</TABLE>"_s);
    }
    l.line(u"<BR>"_s);
    l.line(kTable);
    dateRow(l);
    emptyRow(l);
    l.line(u"</TABLE>"_s);
    peopleTable(l);
    return l;
}

RecordLayout fullRecordOpera() {
    RecordLayout l;
    l.line(u"<DIV STYLE=\"page-break-inside: avoid;\">"_s);
    l.line(kTable);
    for (int i = 0; i < 7; ++i) {
        fieldRow(l, i, true);
        l.line(u"</TR>"_s, 6);
    }
    l.line(u"</TABLE>"_s);
    l.line(u"<BR>"_s);
    l.line(kTable);
    emptyRow(l);
    dateRow(l);
    emptyRow(l);
    l.line(u"</TABLE>"_s);
    peopleTable(l);
    l.line(u"<HR WIDTH=\"100%\"></DIV>"_s);
    return l;
}

bool printFull(const QString& procedure, const DatabaseLocation& location,
               const IdentifierList& ids, const QString& spoolPath, const QString& title,
               bool opera) {
    return generate(procedure, [&] {
        static const RecordLayout embedded = fullRecord();
        static const RecordLayout forOpera = fullRecordOpera();
        Report r(procedure, location, spoolPath, title);
        int position = 0;
        bool pendingRule = false;
        r.forEachRecord(kFullStatement, ids, [&](Recordset& rs) {
            if (opera) {
                forOpera.write(r, rs);
                return;
            }
            // The rule after a record is written once the next one comes: none after the last.
            if (pendingRule) {
                r.line(position % 2 == 1
                           ? u"<HR WIDTH=\"100%\">"_s
                           : u"<HR WIDTH=\"100%\" STYLE=\"page-break-after: always;\">"_s);
            }
            embedded.write(r, rs);
            pendingRule = true;
            ++position;
        });
        return r.finish();
    });
}

// --- short listing ---

struct ShortColumn {
    const char16_t* caption;
    const char16_t* width;
};
const ShortColumn kShortColumns[] = {{u"ID", u"4%"},        {u"Domaine", u"20%"},
                                     {u"Français", u"29%"}, {u"Anglais", u"29%"},
                                     {u"Auteur", u"11%"},   {u"Date", u"7%"}};

void shortHead(Report& r) {
    r.line(u"<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=6 WIDTH=\"100%\">"_s);
    r.line(u"<THEAD>"_s, 3);
    r.line(u"<TR ALIGN=\"LEFT\">"_s, 6);
    for (const ShortColumn& c : kShortColumns) {
        std::int32_t alignment = 0;
        r.line(u"<TH WIDTH=\""_s + QString::fromUtf16(c.width) + u"\">"_s + kFont + u"SIZE=-1>"_s +
                   validatedHtml(QString::fromUtf16(c.caption), alignment, false, true) +
                   u"</FONT></TH>"_s,
               8);
    }
    r.line(u"</TR>"_s, 6);
    r.line(u"</THEAD>"_s, 3);
}

RecordLayout::Value shortValue(int index) {
    return [index](Report& r, Recordset& rs) { return r.value(rs, index); };
}

RecordLayout shortRow(bool opera) {
    RecordLayout l;
    if (opera) {
        l.line(u"<DIV STYLE=\"page-break-inside: avoid;\">"_s);
    }
    l.line(kRow, 6);
    cell(
        l, kShortCell,
        [](Report&, Recordset& rs) {
            return FieldValue{formatRecordNumber(rs.value(0)), std::nullopt};
        },
        kPlain);
    for (int i = 1; i <= 4; ++i) {
        cell(l, kShortCell, shortValue(i), kJustified);
    }
    cell(
        l, kShortCell,
        [](Report& r, Recordset& rs) {
            return FieldValue{r.dateOnly(rs, 5), std::nullopt};
        },
        kPlain);
    l.line(u"</TR>"_s, 6);
    if (opera) {
        l.line(u"</DIV>"_s);
    }
    return l;
}

bool printShort(const QString& procedure, const DatabaseLocation& location,
                const IdentifierList& ids, const QString& spoolPath, const QString& title,
                bool opera) {
    return generate(procedure, [&] {
        static const RecordLayout embedded = shortRow(false);
        static const RecordLayout forOpera = shortRow(true);
        Report r(procedure, location, spoolPath, title);
        shortHead(r);
        const RecordLayout& row = opera ? forOpera : embedded;
        r.forEachRecord(kShortStatement, ids, [&](Recordset& rs) { row.write(r, rs); });
        r.line(u"</TABLE>"_s);
        return r.finish();
    });
}

} // namespace

bool writeHtmlHeader(SpoolFile& file, const QString& title) {
    try {
        file.line(
            u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"_s);
        file.line(u"<HTML><HEAD><TITLE>"_s + escaped(title) + u"</TITLE></HEAD><BODY>"_s);
        return true;
    } catch (const AppError& e) {
        reportError(u"bPrintHTMLHeader"_s, e);
        return false;
    }
}

bool writeHtmlTrailer(SpoolFile& file) {
    try {
        file.line(u"</BODY></HTML>"_s);
        return true;
    } catch (const AppError& e) {
        reportError(u"bPrintHTMLTrailer"_s, e);
        return false;
    }
}

QStringList identifierGroups(const IdentifierList& ids) {
    QStringList groups;
    for (size_t i = 0; i < ids.size(); ++i) {
        const size_t group = (i + 1) / kGroupSize; // the k-th identifier, counted from 1
        if (group >= static_cast<size_t>(groups.size())) {
            groups.append(QString());
        }
        QString& text = groups[static_cast<qsizetype>(group)];
        text += (text.isEmpty() ? u""_s : u" OR "_s) + u"Files.ID = "_s + QString::number(ids[i]);
    }
    return groups;
}

QString reportTitle(const QString& userName) {
    return userName.trimmed() + u", "_s + Clock::now().time().toString(u"HH:mm:ss"_s);
}

bool writeFullListing(const DatabaseLocation& location, const IdentifierList& ids,
                      const QString& spoolPath, const QString& title) {
    return printFull(u"bPrintFull"_s, location, ids, spoolPath, title, false);
}

bool writeFullListingForOpera(const DatabaseLocation& location, const IdentifierList& ids,
                              const QString& spoolPath, const QString& title) {
    return printFull(u"bPrintFullOpera"_s, location, ids, spoolPath, title, true);
}

bool writeShortListing(const DatabaseLocation& location, const IdentifierList& ids,
                       const QString& spoolPath, const QString& title) {
    return printShort(u"bPrintShort"_s, location, ids, spoolPath, title, false);
}

bool writeShortListingForOpera(const DatabaseLocation& location, const IdentifierList& ids,
                               const QString& spoolPath, const QString& title) {
    return printShort(u"bPrintShortOpera"_s, location, ids, spoolPath, title, true);
}

bool writeDomainList(const DatabaseLocation& location, const QString& spoolPath,
                     const QString& title) {
    const QString procedure = u"bPrintDomains"_s;
    return generate(procedure, [&] {
        Report r(procedure, location, spoolPath, title);
        r.forEachRow(u"SELECT NAME FROM Domains order by NAME"_s, [&](Recordset& rs) {
            r.line(u"<br>"_s);
            const QVariant name = rs.value(u"Name"_s);
            if (name.isNull()) {
                throw AppError(94, u"Utilisation incorrecte de Null : un domaine n'a pas de "
                                   u"nom."_s);
            }
            r.line(escaped(name.toString()));
        });
        return r.finish();
    });
}
