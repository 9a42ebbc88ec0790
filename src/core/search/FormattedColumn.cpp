#include "core/search/FormattedColumn.h"

#include "core/text/RecordNumber.h"

void FormattedColumn::define(const QString& sourceFieldName, const QString& displayName,
                             const QString& format) {
    m_source = sourceFieldName;
    m_display = displayName;
    m_format = format;
}

QString FormattedColumn::displayValue(const QString& value) const {
    return m_format.isEmpty() ? value : formatNumber(value, m_format);
}
