#pragma once

#include <QString>

// What the signed-in user's level allows.
bool isAdministrator();
bool isManager();
// May the user change or delete a record written by `owner`?
bool isOwner(const QString& owner);
