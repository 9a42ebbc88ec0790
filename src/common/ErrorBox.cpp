#include "ErrorBox.h"

#include "AppError.h"
#include "Dialogs.h"

using namespace Qt::StringLiterals;

QString sErrorBoxText(long number, const QString& description, ErrorWording wording) {
    const QString head = wording == ErrorWording::Standard ? u"Une erreur #"_s : u"Une erreur  #"_s;
    const QString tail =
        wording == ErrorWording::Standard ? u" s\u2019est produite:"_s : u" s'est produite:"_s;
    return head + QString::number(number) + tail + u"\r\n\r\n"_s + description;
}

void ShowErrorBox(const QString& procedure, long number, const QString& description,
                  ErrorWording wording) {
    MsgBox(sErrorBoxText(number, description, wording), u"Procédure: "_s + procedure,
           Dialogs::Buttons::Ok, Dialogs::Icon::Critical, Dialogs::Answer::Ok);
}

void ShowErrorBox(const QString& procedure, const AppError& error, ErrorWording wording) {
    ShowErrorBox(procedure, error.number(), error.description(), wording);
}

void ShowDatabaseError(const QString& procedure, const AppError& error,
                       const QString& wrongPasswordText) {
    if (error.number() != ErrorNumber::NotValidPassword) {
        ShowErrorBox(procedure, error);
        return;
    }
    MsgBox(wrongPasswordText.isEmpty() ? u"Le mot de passe pour la base de données est invalide!"_s
                                       : wrongPasswordText,
           u"Mauvais mot de passe!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}
