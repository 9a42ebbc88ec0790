#pragma once

#include "core/search/ColumnDescriptor.h"

// Shows the value through a format expression ("#####00000" and the like).
class FormattedColumn : public ColumnDescriptor {
public:
    void define(const QString& sourceFieldName, const QString& displayName, const QString& format);

    QString sourceField() const override { return m_source; }
    QString displayName() const override { return m_display; }
    QString format() const { return m_format; }
    // Numeric format expressions ("#####00000"); other values and expressions leave the text.
    QString displayValue(const QString& value) const override;

private:
    QString m_source;
    QString m_display;
    QString m_format;
};
