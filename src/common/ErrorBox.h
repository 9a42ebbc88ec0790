#pragma once

#include <QString>

class AppError;

// The standard error box. Some procedures use a second wording that differs in its first pieces.
enum class ErrorWording { Standard, Second };

QString sErrorBoxText(long number, const QString& description, ErrorWording wording);
void ShowErrorBox(const QString& procedure, long number, const QString& description,
                  ErrorWording wording = ErrorWording::Standard);
void ShowErrorBox(const QString& procedure, const AppError& error,
                  ErrorWording wording = ErrorWording::Standard);

// A database error as the windows report it: a wrong database password gets its own message
// (by default "Le mot de passe pour la base de données est invalide!"), titled
// "Mauvais mot de passe!"; anything else the standard error box.
void ShowDatabaseError(const QString& procedure, const AppError& error,
                       const QString& wrongPasswordText = QString());
