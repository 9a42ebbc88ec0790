#include "core/search/BooleanColumn.h"

void BooleanColumn::define(const QString& sourceFieldName, const QString& displayName,
                           const QString& trueValue, const QString& falseValue) {
    m_source = sourceFieldName;
    m_display = displayName;
    m_true = trueValue;
    m_false = falseValue;
}

QString BooleanColumn::displayValue(const QString& value) const {
    const QString v = value.trimmed();
    bool isNumber = false;
    const double d = v.toDouble(&isNumber);
    const bool yes = isNumber ? d != 0
                              : v.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 ||
                                    v.compare(QStringLiteral("Vrai"), Qt::CaseInsensitive) == 0;
    return yes ? m_true : m_false;
}
