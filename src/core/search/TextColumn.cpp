#include "core/search/TextColumn.h"

void TextColumn::define(const QString& sourceFieldName, const QString& displayName) {
    m_source = sourceFieldName;
    m_display = displayName;
}
