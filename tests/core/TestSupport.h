#pragma once

#include "core/ErrorReporter.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// A test with its own temporary folder; "now" is the real clock again after it.
class LexivarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    static void writeFile(const QString& file, const QByteArray& bytes);
    static QByteArray readFile(const QString& file);

private:
    QTemporaryDir m_dir;
};

// One failure the core reported at its edge: what the program shows as the standard error box.
struct ReportedError {
    QString procedure;
    long number;
    QString description;
    ErrorWording wording;

    // The box's text.
    QString text() const { return errorBoxText(number, description, wording); }
};

// Keeps what the core reports instead of showing it.
class RecordingReporter : public ErrorReporter {
public:
    void report(const QString& procedure, long number, const QString& description,
                ErrorWording wording) override;

    std::vector<ReportedError> errors;
};

// What the core reported during the running core test: the core test program installs a fresh
// recorder before each test (gui tests see the error boxes through their scripted dialogs).
extern RecordingReporter* reported;

// Lets gtest print QStrings in failure messages.
std::ostream& operator<<(std::ostream& os, const QString& s);
