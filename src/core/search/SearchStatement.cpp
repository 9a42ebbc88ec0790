#include "core/search/SearchStatement.h"

#include "core/AppError.h"
#include "core/db/JetDate.h"
#include "core/db/SqlText.h"

#include <iterator>

using namespace Qt::StringLiterals;

namespace {

const QString kSelect = u"SELECT Files.ID, Files.English, Files.French, Files.AF, "_s;
const QString kAllRecords =
    kSelect + u"Domains.name, Files.Date, Files.CreatedBy, Files.DateModified, "
              u"Files.ModifiedBy FROM Files, Domains WHERE files.domainid = domains.id "_s;
const QString kDatePrefixFirst = kSelect +
                                 u"Domains.Name, Files.Date, Files.CreatedBy, Files.DateModified, "
                                 u"Files.ModifiedBy FROM Files, Domains "_s;
const QString kDatePrefixSecond = u"WHERE files.domainid = domains.id AND "_s;
const QString kCriterionPrefix = kDatePrefixFirst + kDatePrefixSecond;

struct Field {
    const char16_t* caption;
    const char16_t* column;
};
const Field kFields[] = {
    {u"ID", u"Files.ID"},
    {u"Domaine", u"NAME"},
    {u"Terme Anglais", u"ENGLISH"},
    {u"Terme Français", u"FRENCH"},
    {u"Source AF", u"AF"},
    {u"Définition", u"DEFINITION"},
    {u"Observation", u"OBSERVATION"},
    {u"Date Création", u"DATE"},
    {u"Auteur", u"CREATEDBY"},
    {u"Date modification", u"DATEMODIFIED"},
    {u"Modifié par", u"MODIFIEDBY"},
};
static_assert(std::size(kFields) == SearchStatement::kFieldCount);

QString dayNumber(const QDate& date) {
    return QString::number(static_cast<qlonglong>(JetDate::toDayNumber(date)));
}

} // namespace

namespace SearchStatement {

QString captionOf(int field) {
    return QString::fromUtf16(kFields[field].caption);
}

QString columnOf(int field) {
    return QString::fromUtf16(kFields[field].column);
}

QString notANumberMessage() {
    return u"Le numéro de fiche doit être un nombre entier!"_s;
}

bool isValidCriterion(int field, const QString& text) {
    return field != kIdField || text.isEmpty() || SqlText::wholeNumber(text).has_value();
}

QString condition(int field, const QString& text, const QDate& start, const QDate& end,
                  bool dateField) {
    const QString column = columnOf(field);
    if (dateField) {
        return column + u" <= "_s + dayNumber(end) + u" and "_s + column + u" >= "_s +
               dayNumber(start);
    }
    if (field == kIdField) {
        // Written as the number parsed, never as the text typed.
        const std::optional<qint64> number = SqlText::wholeNumber(text);
        if (!number) {
            throw AppError(ErrorNumber::InvalidCall, notANumberMessage());
        }
        return column + u" = "_s + QString::number(*number);
    }
    return column + u" LIKE "_s + SqlText::literal(u"%"_s + text + u"%"_s);
}

QString newSearchStatement(int field, const QString& text, const QDate& start, const QDate& end,
                           bool dateField) {
    if (dateField) {
        return kDatePrefixFirst + kDatePrefixSecond + condition(field, text, start, end, true);
    }
    if (text.isEmpty()) {
        return kAllRecords;
    }
    return kCriterionPrefix + condition(field, text, start, end, false);
}

} // namespace SearchStatement
