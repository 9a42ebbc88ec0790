#pragma once

#include "ColumnDescriptor.h"

// Shows a yes/no value as one of two texts.
class clsListViewBoolean : public ColumnDescriptor {
public:
    void Constructor(const QString& sourceFieldName, const QString& displayName,
                     const QString& trueValue, const QString& falseValue);

    QString sSourceFieldName() const override { return m_source; }
    void setSSourceFieldName(const QString& v) { m_source = v; }
    QString sDisplayName() const override { return m_display; }
    void setSDisplayName(const QString& v) { m_display = v; }
    QString sTrueValue() const { return m_true; }
    void setSTrueValue(const QString& v) { m_true = v; }
    QString sFalseValue() const { return m_false; }
    void setSFalseValue(const QString& v) { m_false = v; }
    // "True" or a nonzero number is true; anything else is false.
    QString sReturnValue(const QString& value) const override;

private:
    QString m_source;
    QString m_display;
    QString m_true = QStringLiteral("True");
    QString m_false = QStringLiteral("False");
};
