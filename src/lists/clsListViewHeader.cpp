#include "clsListViewHeader.h"

void clsListViewHeader::Constructor(const QString& sourceFieldName, const QString& displayName) {
    m_source = sourceFieldName;
    m_display = displayName;
}
