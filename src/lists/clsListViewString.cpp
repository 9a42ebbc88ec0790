#include "clsListViewString.h"

#include "common/RecordNumber.h"

void clsListViewString::Constructor(const QString& sourceFieldName, const QString& displayName,
                                    const QString& format) {
    m_source = sourceFieldName;
    m_display = displayName;
    m_format = format;
}

QString clsListViewString::sReturnValue(const QString& value) const {
    return m_format.isEmpty() ? value : sFormatNumber(value, m_format);
}
