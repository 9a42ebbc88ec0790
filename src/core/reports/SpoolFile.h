#pragma once

#include <QString>
#include <QTemporaryFile>
#include <functional>

// The report file being written: lines ending in CR LF, in ISO-8859-1 as the reports declare.
// A character outside it is written as a numeric character reference, never lost.
//
// The lines go to a fresh owner-only file beside the target, renamed over it by close(): a file
// or link already standing at the target is replaced, never written through, and a report that
// fails before close() leaves nothing behind.
class SpoolFile {
public:
    // Creates the file for output; throws AppError 75 or 76 when it cannot.
    explicit SpoolFile(const QString& path);

    // One line, after `indent` blanks; throws AppError 75 when it cannot be written (lines are
    // gathered and written in blocks).
    void line(const QString& text, int indent = 0);
    // Lines encoded once by encodedLine, for lines every record writes again.
    void append(const QByteArray& encodedLines);
    // Lets `fill` append encoded lines straight to what is written (a listing's record, with no
    // copy on the way); throws AppError 75 as line() does.
    void appendWith(const std::function<void(QByteArray&)>& fill);
    // Writes what is left and puts the file in place; throws AppError 75 when it cannot.
    void close();

    static QByteArray encode(const QString& text);
    // The bytes line(text, indent) writes.
    static QByteArray encodedLine(const QString& text, int indent = 0);

private:
    static constexpr qsizetype kFlushSize = 1 << 16;
    void flush();

    QString m_path;
    QTemporaryFile m_file;
    QByteArray m_buffer;
};
