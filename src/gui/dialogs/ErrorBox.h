#pragma once

#include "core/ErrorReporter.h"

#include <QString>

class AppError;

// The standard error box, titled with the procedure's name.
void showErrorBox(const QString& procedure, long number, const QString& description,
                  ErrorWording wording = ErrorWording::Standard);
void showErrorBox(const QString& procedure, const AppError& error,
                  ErrorWording wording = ErrorWording::Standard);

// A database error as the windows report it: a wrong database password gets its own message
// (by default "Le mot de passe pour la base de données est invalide!"), titled
// "Mauvais mot de passe!"; anything else the standard error box.
void showDatabaseError(const QString& procedure, const AppError& error,
                       const QString& wrongPasswordText = QString());

// What the core reports reaches the user as the standard error box.
class ErrorBoxReporter : public ErrorReporter {
public:
    void report(const QString& procedure, long number, const QString& description,
                ErrorWording wording) override;
};
