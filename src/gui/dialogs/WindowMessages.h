#pragma once

#include <QString>

// Messages that several windows show alike, each worded in one place.

// "Les champs suivants sont invalides:", a line break, then `lines` (each ending in CR LF), as
// an error box titled "Erreur".
void showInvalidFields(const QString& lines);

// The question before unsaved changes are dropped (titled "Attention !", No by default); true
// when the user answers Yes.
bool confirmDropChanges();
