#pragma once

#include <QString>
#include <memory>

class AppError;

// Where core code reports a failure it has dealt with at its edge, under the procedure name the
// user reads out to support. The program shows it as the standard error box; the tools print it.
enum class ErrorWording { Standard, Second };

// The standard error text. Some procedures use a second wording that differs in its first pieces.
QString errorBoxText(long number, const QString& description, ErrorWording wording);

class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(const QString& procedure, long number, const QString& description,
                        ErrorWording wording) = 0;

    // The installed reporter; until one is installed, standard error.
    static ErrorReporter& get();
    static void install(std::unique_ptr<ErrorReporter> reporter);
};

void reportError(const QString& procedure, long number, const QString& description,
                 ErrorWording wording = ErrorWording::Standard);
void reportError(const QString& procedure, const AppError& error,
                 ErrorWording wording = ErrorWording::Standard);
