#include "core/interchange/CsvWriter.h"

using namespace Qt::StringLiterals;

namespace {

bool startsFormula(QChar c) {
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

bool escapedByApostrophe(const QString& text) {
    return text.size() > 1 && text[0] == u'\'' && (startsFormula(text[1]) || text[1] == u'\'');
}

QString quoted(const QString& text) {
    QString out = text;
    out.replace(u"\""_s, u"\"\""_s);
    return u"\""_s + out + u"\""_s;
}

QString date(const QDateTime& value) {
    return value.isValid() ? value.toString(u"yyyy-MM-dd HH:mm:ss"_s) : QString();
}

} // namespace

QString csvProtected(const QString& text) {
    if ((!text.isEmpty() && startsFormula(text[0])) || escapedByApostrophe(text)) {
        return u"'"_s + text;
    }
    return text;
}

QString csvUnprotected(const QString& cell) {
    return escapedByApostrophe(cell) ? cell.mid(1) : cell;
}

QStringList csvHeader() {
    return {u"Fiche"_s,     u"Domaine"_s,     u"Anglais"_s,     u"Français"_s,
            u"Source"_s,    u"Définition"_s,  u"Observation"_s, u"Créée le"_s,
            u"Créée par"_s, u"Modifiée le"_s, u"Modifiée par"_s};
}

QByteArray writeCsv(const QList<TermEntry>& entries) {
    QString out;
    QStringList header;
    for (const QString& name : csvHeader()) {
        header << quoted(name);
    }
    out += header.join(u',') + u"\r\n"_s;
    for (const TermEntry& e : entries) {
        const QStringList fields = {e.label,
                                    e.domain,
                                    e.english.join(u" ; "_s),
                                    e.french.join(u" ; "_s),
                                    e.source,
                                    e.definition,
                                    e.observation,
                                    date(e.created),
                                    e.createdBy,
                                    date(e.modified),
                                    e.modifiedBy};
        QStringList cells;
        for (const QString& field : fields) {
            cells << quoted(csvProtected(field));
        }
        out += cells.join(u',') + u"\r\n"_s;
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}
