#pragma once

#include "core/db/Transaction.h"

#include <utility>

class Connection;

// Writes over a stored row only as the user last saw it, so that nobody's save is silently
// undone. Inside one transaction `read` gives the row's stored state (throwing when the row is
// gone); when it is still `seen`, `write` runs and the transaction commits. Otherwise the
// transaction ends before `askToReplace(stored)`, so no lock is held while the user thinks, and
// on yes the whole check runs again expecting the state the user agreed to replace.
// Returns whether `write` ran.
template <typename State, typename Read, typename Write, typename Ask>
bool writeUnlessChanged(Connection& connection, State seen, Read read, Write write,
                        Ask askToReplace) {
    for (;;) {
        State stored;
        {
            Transaction transaction(connection);
            stored = read();
            if (stored == seen) {
                write();
                transaction.commit();
                return true;
            }
        }
        if (!askToReplace(std::as_const(stored))) {
            return false;
        }
        seen = std::move(stored);
    }
}
