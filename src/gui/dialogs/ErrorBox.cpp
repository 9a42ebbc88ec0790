#include "gui/dialogs/ErrorBox.h"

#include "core/AppError.h"
#include "gui/dialogs/Dialogs.h"

using namespace Qt::StringLiterals;

void showErrorBox(const QString& procedure, long number, const QString& description,
                  ErrorWording wording) {
    showMessage(errorBoxText(number, description, wording), u"Procédure: "_s + procedure,
                Dialogs::Buttons::Ok, Dialogs::Icon::Critical, Dialogs::Answer::Ok);
}

void showErrorBox(const QString& procedure, const AppError& error, ErrorWording wording) {
    showErrorBox(procedure, error.number(), error.description(), wording);
}

void showDatabaseError(const QString& procedure, const AppError& error,
                       const QString& wrongPasswordText) {
    if (error.number() != ErrorNumber::NotValidPassword) {
        showErrorBox(procedure, error);
        return;
    }
    showMessage(wrongPasswordText.isEmpty()
                    ? u"Le mot de passe pour la base de données est invalide!"_s
                    : wrongPasswordText,
                u"Mauvais mot de passe!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

void ErrorBoxReporter::report(const QString& procedure, long number, const QString& description,
                              ErrorWording wording) {
    showErrorBox(procedure, number, description, wording);
}
