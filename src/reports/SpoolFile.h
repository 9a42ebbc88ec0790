#pragma once

#include <QFile>
#include <QString>

// The report file being written: lines ending in CR LF, in ISO-8859-1 as the reports declare.
// A character outside it is written as a numeric character reference, never lost.
class SpoolFile {
public:
    // Opens the file for output, emptying it; throws AppError 75 or 76 when it cannot.
    explicit SpoolFile(const QString& path);

    // One line, after `indent` blanks; throws AppError 75 when it cannot be written (lines are
    // gathered and written in blocks).
    void line(const QString& text, int indent = 0);
    void close();

    static QByteArray encode(const QString& text);

private:
    static constexpr qsizetype kFlushSize = 1 << 16;
    void flush();

    QFile m_file;
    QByteArray m_buffer;
};
