#include "RecordEditor.h"

#include "common/Dialogs.h"

using namespace Qt::StringLiterals;

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
    MsgBox(u"Cette fonction n'est pas encore offerte dans cette version de Lexivar."_s,
           u"Lexivar"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Information);
}

} // namespace RecordEditor
