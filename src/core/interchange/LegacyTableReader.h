#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>

// One row of an old table: column name → value. A NULL cell is a null QVariant, never an empty
// text; dates are QDateTime (an invalid one for a stored value no calendar can hold), whole
// numbers int, yes/no columns bool, texts QString.
using LegacyRow = QVariantMap;

// Reads the tables of a database of the older version, one row at a time, so that the import can
// be fed by the real file or, in tests, by rows held in memory. Never writes.
class LegacyTableReader {
public:
    virtual ~LegacyTableReader() = default;

    virtual QStringList tables() const = 0;
    // Rows the table declares (for progress only; the real count is what readTable delivers).
    virtual qint64 rowCount(const QString& table) const = 0;
    // Calls `row` for every row of the table in stored order; the names of tables are matched
    // without regard to case. Throws AppError when the table is missing or cannot be read.
    virtual void readTable(const QString& table,
                           const std::function<void(const LegacyRow&)>& row) = 0;
};

// Opens an old base for reading; the Jet file reader unless a test gives another.
using LegacyReaderFactory = std::function<std::unique_ptr<LegacyTableReader>(const QString&)>;
