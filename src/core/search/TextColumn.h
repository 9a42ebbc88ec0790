#pragma once

#include "core/search/ColumnDescriptor.h"

// Shows the value unchanged.
class TextColumn : public ColumnDescriptor {
public:
    void define(const QString& sourceFieldName, const QString& displayName);

    QString sourceField() const override { return m_source; }
    void setSourceField(const QString& v) { m_source = v; }
    QString displayName() const override { return m_display; }
    void setDisplayName(const QString& v) { m_display = v; }
    QString displayValue(const QString& value) const override { return value; }

private:
    QString m_source;
    QString m_display;
};
