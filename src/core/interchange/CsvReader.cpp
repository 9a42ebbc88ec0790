#include "core/interchange/CsvReader.h"

#include "core/interchange/CsvWriter.h"
#include "core/text/Cp1252.h"

#include <QHash>
#include <QStringDecoder>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

enum class Column {
    English,
    French,
    Domain,
    Source,
    Definition,
    Observation,
    Created,
    CreatedBy,
    Modified,
    ModifiedBy
};
constexpr size_t kColumnCount = 10;

constexpr size_t index(Column column) {
    return static_cast<size_t>(column);
}

// Lower case, no accents, letters and digits only: "Créée par" and "CREEE PAR" meet.
QString headerKey(const QString& name) {
    QString key;
    for (const QChar c : name.normalized(QString::NormalizationForm_D)) {
        if (c.isLetterOrNumber()) {
            key += c.toLower();
        }
    }
    return key;
}

const QHash<QString, Column>& headerNames() {
    static const QHash<QString, Column> names = [] {
        const std::initializer_list<std::pair<Column, const char*>> pairs = {
            {Column::English, "Anglais"},
            {Column::English, "English"},
            {Column::English, "en"},
            {Column::English, "Terme anglais"},
            {Column::English, "English term"},
            {Column::English, "Term (en)"},
            {Column::French, "Français"},
            {Column::French, "French"},
            {Column::French, "fr"},
            {Column::French, "Terme français"},
            {Column::French, "French term"},
            {Column::French, "Term (fr)"},
            {Column::Domain, "Domaine"},
            {Column::Domain, "Domain"},
            {Column::Domain, "Subject field"},
            {Column::Domain, "Subject"},
            {Column::Source, "Source"},
            {Column::Source, "A/F"},
            {Column::Definition, "Définition"},
            {Column::Definition, "Definition"},
            {Column::Observation, "Observation"},
            {Column::Observation, "Note"},
            {Column::Observation, "Notes"},
            {Column::Observation, "Remarque"},
            {Column::Observation, "Comment"},
            {Column::Created, "Créée le"},
            {Column::Created, "Date de création"},
            {Column::Created, "Date"},
            {Column::Created, "Created"},
            {Column::Created, "Creation date"},
            {Column::CreatedBy, "Créée par"},
            {Column::CreatedBy, "Auteur"},
            {Column::CreatedBy, "Author"},
            {Column::CreatedBy, "Created by"},
            {Column::Modified, "Modifiée le"},
            {Column::Modified, "Date de modification"},
            {Column::Modified, "Modified"},
            {Column::Modified, "Modification date"},
            {Column::ModifiedBy, "Modifiée par"},
            {Column::ModifiedBy, "Modified by"},
        };
        QHash<QString, Column> map;
        for (const auto& [column, name] : pairs) {
            map.insert(headerKey(QString::fromUtf8(name)), column);
        }
        return map;
    }();
    return names;
}

QString decoded(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        body.remove(0, 3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (utf8.hasError()) {
        // Spreadsheets on French Windows save in Windows-1252.
        text = Cp1252::decode(body);
    }
    return text;
}

QChar separatorOf(const QString& text) {
    int commas = 0;
    int semicolons = 0;
    int tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            break;
        } else if (!quoted) {
            commas += c == u',';
            semicolons += c == u';';
            tabs += c == u'\t';
        }
    }
    if (semicolons > commas && semicolons >= tabs) {
        return u';';
    }
    return tabs > commas ? u'\t' : u',';
}

struct Row {
    QStringList cells;
    qint64 line = 0;
};

// Splits the text into rows of cells; false, with the line of the quote, when one never closes.
bool splitRows(const QString& text, QChar separator, QList<Row>& rows, qint64& badLine) {
    qint64 line = 1;
    Row row{{}, line};
    QString cell;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text[i];
        if (c == u'"' && cell.isEmpty()) {
            const qint64 opened = line;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar q = text[i];
                if (q == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        cell += u'"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                if (q == u'\n' || (q == u'\r' && !(i + 1 < n && text[i + 1] == u'\n'))) {
                    ++line;
                }
                cell += q;
                ++i;
            }
            if (!closed) {
                badLine = opened;
                return false;
            }
            // Text after the closing quote stays in the cell, as spreadsheets read it.
            continue;
        }
        if (c == separator) {
            row.cells << cell;
            cell.clear();
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            row.cells << cell;
            cell.clear();
            rows << row;
            i += c == u'\r' && i + 1 < n && text[i + 1] == u'\n' ? 2 : 1;
            ++line;
            row = Row{{}, line};
        } else {
            cell += c;
            ++i;
        }
    }
    if (!cell.isEmpty() || !row.cells.isEmpty()) {
        row.cells << cell;
        rows << row;
    }
    return true;
}

QDateTime parseDate(const QString& text, bool& ok) {
    ok = true;
    if (text.isEmpty()) {
        return {};
    }
    for (const QString& format :
         {u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-dd'T'HH:mm:ss"_s, u"yyyy-MM-dd HH:mm"_s,
          u"dd/MM/yyyy HH:mm:ss"_s, u"dd/MM/yyyy HH:mm"_s}) {
        const QDateTime value = QDateTime::fromString(text, format);
        if (value.isValid()) {
            return value;
        }
    }
    for (const QString& format : {u"yyyy-MM-dd"_s, u"dd/MM/yyyy"_s}) {
        const QDate day = QDate::fromString(text, format);
        if (day.isValid()) {
            return QDateTime(day, QTime(0, 0));
        }
    }
    ok = false;
    return {};
}

} // namespace

TermFile readCsv(const QByteArray& bytes) {
    TermFile file;
    const QString text = decoded(bytes);
    QList<Row> rows;
    qint64 badLine = 0;
    if (!splitRows(text, separatorOf(text), rows, badLine)) {
        file.error = u"Ligne "_s + QString::number(badLine) +
                     u" : un guillemet ouvert n’est jamais fermé."_s;
        return file;
    }
    if (rows.isEmpty()) {
        file.error = u"Le fichier est vide."_s;
        return file;
    }
    std::array<qsizetype, kColumnCount> columns;
    columns.fill(-1);
    const QStringList header = rows.first().cells;
    for (qsizetype i = 0; i < header.size(); ++i) {
        const auto it = headerNames().constFind(headerKey(header.at(i)));
        if (it != headerNames().cend() && columns[index(it.value())] < 0) {
            columns[index(it.value())] = i;
        }
    }
    if (columns[index(Column::English)] < 0 || columns[index(Column::French)] < 0) {
        file.error = u"Ligne 1 : la ligne d’en-tête doit nommer une colonne pour l’anglais "
                     u"(« Anglais » ou « English ») et une pour le français (« Français » ou "
                     u"« French »)."_s;
        return file;
    }
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const Row& row = rows.at(r);
        bool blank = true;
        for (const QString& cell : row.cells) {
            blank = blank && cell.trimmed().isEmpty();
        }
        if (blank) {
            continue;
        }
        auto cell = [&](Column column) {
            const qsizetype i = columns[index(column)];
            return i < 0 ? QString() : csvUnprotected(row.cells.value(i)).trimmed();
        };
        TermEntry e;
        e.label = u"ligne "_s + QString::number(row.line);
        const QString english = cell(Column::English);
        const QString french = cell(Column::French);
        if (!english.isEmpty()) {
            e.english << english;
        }
        if (!french.isEmpty()) {
            e.french << french;
        }
        e.domain = cell(Column::Domain);
        e.source = cell(Column::Source);
        e.definition = cell(Column::Definition);
        e.observation = cell(Column::Observation);
        e.createdBy = cell(Column::CreatedBy);
        e.modifiedBy = cell(Column::ModifiedBy);
        bool createdOk = true;
        bool modifiedOk = true;
        e.created = parseDate(cell(Column::Created), createdOk);
        e.modified = parseDate(cell(Column::Modified), modifiedOk);
        if (english.isEmpty()) {
            e.refusal = u"aucun terme anglais"_s;
        } else if (french.isEmpty()) {
            e.refusal = u"aucun terme français"_s;
        } else if (!createdOk || !modifiedOk) {
            e.refusal = u"date illisible « "_s +
                        (createdOk ? cell(Column::Modified) : cell(Column::Created)) + u" »"_s;
        }
        file.entries << e;
    }
    return file;
}
