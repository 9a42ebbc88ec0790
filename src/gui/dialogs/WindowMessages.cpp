#include "gui/dialogs/WindowMessages.h"

#include "core/text/LineBreak.h"
#include "gui/dialogs/Dialogs.h"

using namespace Qt::StringLiterals;

void showInvalidFields(const QString& lines) {
    showMessage(u"Les champs suivants sont invalides:"_s + kCrLf + lines, u"Erreur"_s,
                Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

bool confirmDropChanges() {
    return showMessage(u"Vous avez fait des changements qui n'ont pas été sauvegardés, "
                       u"êtes-vous certain de vouloir continuer?"_s,
                       u"Attention !"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                       Dialogs::Answer::No) == Dialogs::Answer::Yes;
}
