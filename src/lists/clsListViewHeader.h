#pragma once

#include "ColumnDescriptor.h"

// Shows the value unchanged.
class clsListViewHeader : public ColumnDescriptor {
public:
    void Constructor(const QString& sourceFieldName, const QString& displayName);

    QString sSourceFieldName() const override { return m_source; }
    void setSSourceFieldName(const QString& v) { m_source = v; }
    QString sDisplayName() const override { return m_display; }
    void setSDisplayName(const QString& v) { m_display = v; }
    QString sReturnValue(const QString& value) const override { return value; }

private:
    QString m_source;
    QString m_display;
};
