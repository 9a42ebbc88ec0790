#pragma once

#include "core/search/ColumnDescriptor.h"

// Shows the value unchanged.
class TextColumn : public ColumnDescriptor {
public:
    void define(const QString& sourceFieldName, const QString& displayName);

    QString sourceField() const override { return m_source; }
    QString displayName() const override { return m_display; }
    QString displayValue(const QString& value) const override { return value; }

private:
    QString m_source;
    QString m_display;
};
