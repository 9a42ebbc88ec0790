#pragma once

#include <QString>
#include <memory>

// The desktop's shell: starts a program or opens a document with its application. Answers
// with the classic shell codes: above 32 for success, 0 to 32 for the reason of a failure
// (2 file not found, 3 path not found, 5 access denied, 31 no application for the document).
class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;

    virtual int execute(const QString& verb, const QString& file, const QString& parameters,
                        const QString& directory, int showCommand) = 0;
    // Lets the user choose an application for a document (where the desktop offers it).
    virtual void openWith(const QString& file) = 0;

    static ShellLauncher& get();
    static void install(std::unique_ptr<ShellLauncher> launcher);
};

// The real one: programs through QProcess, documents through the desktop's services.
class DesktopLauncher : public ShellLauncher {
public:
    int execute(const QString& verb, const QString& file, const QString& parameters,
                const QString& directory, int showCommand) override;
    void openWith(const QString& file) override;
};
