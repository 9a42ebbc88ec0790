#include "core/session/UserLevel.h"

#include "core/session/Session.h"

using namespace Qt::StringLiterals;

bool isAdministrator() {
    return gbyUserLevel == 0;
}

bool isManager() {
    return gbyUserLevel == 0 || gbyUserLevel == 1;
}

bool isOwner(const QString& owner) {
    if (gbyUserLevel != 2) {
        return isManager();
    }
    if (owner.isEmpty() || owner == gsUserName.trimmed()) {
        return true;
    }
    return false;
}
