#pragma once

#include "core/search/ColumnDescriptor.h"

// Shows a yes/no value as one of two texts.
class BooleanColumn : public ColumnDescriptor {
public:
    void define(const QString& sourceFieldName, const QString& displayName,
                const QString& trueValue, const QString& falseValue);

    QString sourceField() const override { return m_source; }
    QString displayName() const override { return m_display; }
    QString trueText() const { return m_true; }
    QString falseText() const { return m_false; }
    // "True" or a nonzero number is true; anything else is false.
    QString displayValue(const QString& value) const override;

private:
    QString m_source;
    QString m_display;
    QString m_true = QStringLiteral("True");
    QString m_false = QStringLiteral("False");
};
