#include "basUserLevel.h"

#include "Session.h"
#include "common/Dialogs.h"

using namespace Qt::StringLiterals;

bool bUserLevelAdmin() {
    return gbyUserLevel == 0;
}

bool bUserLevelGestionnaire() {
    return gbyUserLevel == 0 || gbyUserLevel == 1;
}

bool bUserLevelProprio(const QString& owner) {
    if (gbyUserLevel != 2) {
        return bUserLevelGestionnaire();
    }
    if (owner.isEmpty() || owner == gsUserName.trimmed()) {
        return true;
    }
    MsgBox(u"Vous devez être le propriétaire de cette fiche ou avoir des droits de "
           u"gestionnaire/administrateur pour effectuer cette tâche."_s,
           u"Accès refusé!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return false;
}
