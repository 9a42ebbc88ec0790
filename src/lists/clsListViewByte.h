#pragma once

#include "ColumnDescriptor.h"

#include <QStringList>

// Shows a small code as the text at that index of its own table.
class clsListViewByte : public ColumnDescriptor {
public:
    // The table's first index and its texts, in order.
    void Constructor(const QString& sourceFieldName, const QString& displayName, int lowerBound,
                     const QStringList& table);
    void LetArrayForByte(int lowerBound, const QStringList& table);

    QString sSourceFieldName() const override { return m_source; }
    void setSSourceFieldName(const QString& v) { m_source = v; }
    QString sDisplayName() const override { return m_display; }
    void setSDisplayName(const QString& v) { m_display = v; }
    // The entry at the code's index; "" for a code outside the table or not a byte.
    QString sReturnValue(const QString& value) const override;

private:
    QString m_source;
    QString m_display;
    int m_lower = 0;
    QStringList m_table;
};
