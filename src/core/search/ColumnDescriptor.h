#pragma once

#include <QString>
#include <memory>
#include <vector>

// How a list window names one result field and turns its values into cell texts.
class ColumnDescriptor {
public:
    virtual ~ColumnDescriptor() = default;

    virtual QString sourceField() const = 0;
    virtual QString displayName() const = 0;
    // The cell text for a field value already turned into text (a null value as "").
    virtual QString displayValue(const QString& value) const = 0;
};

// A window's column list, in column order.
using ColumnList = std::vector<std::shared_ptr<ColumnDescriptor>>;
