#pragma once

#include "core/AppError.h"
#include "core/interchange/LegacyTableReader.h"

#include <QMap>

// Old tables held in memory, served the way the file reader serves them.
class MemoryReader : public LegacyTableReader {
public:
    QMap<QString, QList<LegacyRow>> tablesByName;
    // Fails when this table is read, after serving its first row.
    QString failOn;

    QStringList tables() const override { return tablesByName.keys(); }
    qint64 rowCount(const QString& table) const override {
        return tablesByName.value(table).size();
    }
    void readTable(const QString& table,
                   const std::function<void(const LegacyRow&)>& row) override {
        if (!tablesByName.contains(table)) {
            throw AppError(ErrorNumber::ItemNotFound,
                           QStringLiteral("La table « %1 » est absente.").arg(table));
        }
        for (const LegacyRow& r : tablesByName.value(table)) {
            row(r);
            if (table == failOn) {
                throw AppError(ErrorNumber::PathFileAccess, QStringLiteral("Lecture interrompue."));
            }
        }
    }
};
