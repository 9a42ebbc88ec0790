#include "RecordEditor.h"

#include "frmFile.h"

namespace {
RecordEditor::Opener& opener() {
    static RecordEditor::Opener value;
    return value;
}
} // namespace

namespace RecordEditor {

void SetOpener(Opener o) {
    opener() = std::move(o);
}

void Show(std::int32_t recordNumber) {
    if (opener()) {
        opener()(recordNumber);
        return;
    }
    frmFile::Open()->InitializeForm(recordNumber);
}

} // namespace RecordEditor
