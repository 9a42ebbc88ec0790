#include "gui/dialogs/Dialogs.h"

#include "gui/dialogs/QtDialogs.h"

namespace {
std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}
} // namespace

Dialogs& Dialogs::get() {
    auto& d = current();
    if (!d) {
        d = std::make_unique<QtDialogs>();
    }
    return *d;
}

void Dialogs::install(std::unique_ptr<Dialogs> dialogs) {
    current() = std::move(dialogs);
}

Dialogs::Answer showMessage(const QString& text, const QString& title, Dialogs::Buttons buttons,
                            Dialogs::Icon icon, Dialogs::Answer defaultButton) {
    return Dialogs::get().message(text, title, buttons, icon, defaultButton);
}
