#pragma once

#include "ColumnDescriptor.h"

// Shows the value through a format expression ("#####00000" and the like).
class clsListViewString : public ColumnDescriptor {
public:
    void Constructor(const QString& sourceFieldName, const QString& displayName,
                     const QString& format);

    QString sSourceFieldName() const override { return m_source; }
    void setSSourceFieldName(const QString& v) { m_source = v; }
    QString sDisplayName() const override { return m_display; }
    void setSDisplayName(const QString& v) { m_display = v; }
    QString sFormat() const { return m_format; }
    void setSFormat(const QString& v) { m_format = v; }
    // Numeric format expressions ("#####00000"); other values and expressions leave the text.
    QString sReturnValue(const QString& value) const override;

private:
    QString m_source;
    QString m_display;
    QString m_format;
};
