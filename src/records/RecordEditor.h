#pragma once

#include <cstdint>
#include <functional>

// How other windows reach the record editor: show it, then initialise it for a record number
// (0 for a new record). The editor installs itself here.
namespace RecordEditor {

using Opener = std::function<void(std::int32_t recordNumber)>;

void SetOpener(Opener opener);
void Show(std::int32_t recordNumber);

} // namespace RecordEditor
