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
