#pragma once

#include "core/interchange/TermEntry.h"

class QIODevice;

// Reads TBX v2 (`martif`) and v3 (`tbx`) documents, DCA style and the simple DCT forms (a data
// category named by its element, as `<basic:definition>`). Element names are matched without
// regard to namespace. A document that declares entities or refers to one it does not declare
// is refused, as is any XML error, with its line: no entity is ever expanded from elsewhere.
// Entries without an English or a French term carry a refusal; other languages are left aside.
TermFile readTbx(QIODevice& device);
