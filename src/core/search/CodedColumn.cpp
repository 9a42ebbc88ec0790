#include "core/search/CodedColumn.h"

void CodedColumn::define(const QString& sourceFieldName, const QString& displayName, int lowerBound,
                         const QStringList& table) {
    setTable(lowerBound, table);
    m_source = sourceFieldName;
    m_display = displayName;
}

void CodedColumn::setTable(int lowerBound, const QStringList& table) {
    m_lower = lowerBound;
    m_table = table;
}

QString CodedColumn::displayValue(const QString& value) const {
    bool ok = false;
    const int code = value.trimmed().toInt(&ok);
    if (!ok || code < 0 || code > 255 || code < m_lower || code - m_lower >= m_table.size()) {
        return {};
    }
    return m_table.at(code - m_lower);
}
