#pragma once

#include "core/interchange/LegacyTableReader.h"

#include <QDateTime>
#include <cstddef>
#include <memory>

// Reads a Jet 4 (.mdb) file of the older version through libmdb, read-only. libmdb 1.0 turns
// every value into text; this reader takes the stored cell instead where that text is wrong:
// dates come from their day number (libmdb gives no date before 1900), memo text is read whole
// (libmdb cuts it at its bind size), and NULL stays apart from an empty text. The file's Jet
// database password only hides its header; reading needs none.
class JetFileReader final : public LegacyTableReader {
public:
    // Throws AppError when the file cannot be opened or is not a Jet file. `bindSize` is the
    // text size libmdb starts from; memo cells larger than it get a larger one.
    explicit JetFileReader(const QString& path, std::size_t bindSize = 16384);
    ~JetFileReader() override;
    JetFileReader(const JetFileReader&) = delete;
    JetFileReader& operator=(const JetFileReader&) = delete;

    QStringList tables() const override;
    qint64 rowCount(const QString& table) const override;
    void readTable(const QString& table, const std::function<void(const LegacyRow&)>& row) override;

    // True when the file starts like a Jet file ("Standard Jet DB" in its header).
    static bool isJetFile(const QString& path);
    // A stored day number as a date and time; invalid outside Jet's calendar (years 100–9999).
    static QDateTime dateOfDayNumber(double dayNumber);

private:
    QString storedName(const QString& table) const;

    struct File; // the libmdb handle, whose types are anonymous structures
    std::unique_ptr<File> m_file;
    QString m_path;
    QStringList m_tables;
};
