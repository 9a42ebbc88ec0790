#pragma once

#include "core/search/ColumnDescriptor.h"

#include <QStringList>

// Shows a small code as the text at that index of its own table.
class CodedColumn : public ColumnDescriptor {
public:
    // The table's first index and its texts, in order.
    void define(const QString& sourceFieldName, const QString& displayName, int lowerBound,
                const QStringList& table);
    void setTable(int lowerBound, const QStringList& table);

    QString sourceField() const override { return m_source; }
    QString displayName() const override { return m_display; }
    // The entry at the code's index; "" for a code outside the table or not a byte.
    QString displayValue(const QString& value) const override;

private:
    QString m_source;
    QString m_display;
    int m_lower = 0;
    QStringList m_table;
};
