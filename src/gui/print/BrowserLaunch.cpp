#include "gui/print/BrowserLaunch.h"

#include "gui/dialogs/ErrorBox.h"
#include "gui/print/ShellLauncher.h"

using namespace Qt::StringLiterals;

namespace {

// The first application-defined error number plus 1048.
constexpr long kBase = -2147221504L + 1048;

struct Failure {
    long number;
    QString message;
};

Failure failureFor(int value) {
    switch (value) {
    case 0:
        return {7, u"The operating system is out of memory or resources."_s};
    case 2:
        return {53, u"The specified file was not found."_s};
    case 3:
        return {76, u"The specified path was not found."_s};
    case 5:
        return {75, u"The operating system denied access to the specified file."_s};
    case 8:
        return {7, u"There was not enough memory to complete the operation."_s};
    case 11:
        return {kBase + 11,
                u"The .exe file is invalid (non-Win32\u00AE .exe or error in .exe image)."_s};
    case 26:
        return {75, u"A sharing violation occurred."_s};
    case 27:
        return {kBase + 27, u"The file name association is incomplete or invalid."_s};
    case 28:
        return {286,
                u"The DDE transaction could not be completed because the request timed out."_s};
    case 29:
        return {285, u"The DDE transaction failed."_s};
    case 30:
        return {285, u"The DDE transaction could not be completed because other DDE "
                     u"transactions were being processed."_s};
    case 31:
        return {kBase + 31,
                u"There is no application associated with the given file name extension."_s};
    case 32:
        return {48, u"The specified dynamic-link library was not found."_s};
    default:
        return {kBase + value,
                u"Une erreur  occurred occurred whilst trying to open or print the selected "
                u"file."_s};
    }
}

} // namespace

bool shellExecute(const QString& file, std::int32_t showCommand, const QString& parameters,
                  const QString& directory, std::int32_t operation, std::int32_t& windowHandle) {
    static const QString kVerbs[] = {u"open"_s, u"print"_s, u"explore"_s, u"play"_s};
    if (file.contains(u".EXE"_s, Qt::CaseInsensitive)) {
        showCommand = 0;
    }
    if (windowHandle == 0) {
        windowHandle = kDesktopWindow;
    }
    const QString verb = operation >= 1 && operation <= 4 ? kVerbs[operation - 1] : QString();
    ShellLauncher& shell = ShellLauncher::get();
    const bool bare = parameters.trimmed().isEmpty() && directory.trimmed().isEmpty();
    const int value = bare ? shell.execute(verb, file.trimmed(), QString(), QString(), 1)
                           : shell.execute(verb, file.trimmed(), parameters.trimmed(),
                                           directory.trimmed(), showCommand);
    if (value > 32 || value < 0) {
        return true;
    }
    if (value == 31) {
        shell.openWith(file);
    }
    const Failure f = failureFor(value);
    showErrorBox(u"bShellExecute"_s, f.number, f.message);
    return false;
}
