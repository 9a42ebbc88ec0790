#include "gui/dialogs/ScriptedDialogs.h"

#include <QDialog>

using namespace Qt::StringLiterals;

Dialogs::Answer ScriptedDialogs::message(const QString& text, const QString& title, Buttons buttons,
                                         Icon icon, Answer defaultButton) {
    messages.push_back({text, title, buttons, icon, defaultButton});
    if (answers.empty()) {
        return defaultButton;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString&, const QString& folder,
                                      const QString&) {
    openFolders << folder;
    if (fileNames.empty()) {
        return {};
    }
    QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString&, const QString&,
                                      const QString& filters, QString* selectedFilter) {
    saveFiltersOffered << filters;
    if (saveAnswers.empty()) {
        return {};
    }
    SaveAnswer a = saveAnswers.front();
    saveAnswers.pop_front();
    if (selectedFilter) {
        *selectedFilter = a.filter.isEmpty() ? filters.section(u";;"_s, 0, 0) : a.filter;
    }
    return a.fileName;
}

int ScriptedDialogs::execModal(QDialog& dialog) {
    modalShown.push_back(dialog.objectName());
    if (modalHandlers.empty()) {
        return QDialog::Rejected;
    }
    auto handler = std::move(modalHandlers.front());
    modalHandlers.pop_front();
    return handler(dialog);
}

namespace {
bool answer(std::deque<std::function<bool(QPrinter&)>>& handlers, QPrinter& printer) {
    if (handlers.empty()) {
        return false;
    }
    auto handler = std::move(handlers.front());
    handlers.pop_front();
    return handler(printer);
}
} // namespace

bool ScriptedDialogs::printDialog(QPrinter& printer, QWidget*) {
    ++printDialogsShown;
    return answer(printHandlers, printer);
}

bool ScriptedDialogs::pageSetupDialog(QPrinter& printer, QWidget*) {
    ++pageSetupDialogsShown;
    return answer(pageSetupHandlers, printer);
}
