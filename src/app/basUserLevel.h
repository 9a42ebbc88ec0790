#pragma once

#include <QString>

// What the signed-in user's level allows.
bool bUserLevelAdmin();
bool bUserLevelGestionnaire();
// May the user change or delete a record written by `owner`? Says so when not.
bool bUserLevelProprio(const QString& owner);
