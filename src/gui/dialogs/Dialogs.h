#pragma once

#include <QString>
#include <memory>

class QDialog;
class QPrinter;
class QWidget;

// Every modal thing the program shows goes through this seam, so tests never block on a dialog.
class Dialogs {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                           Answer defaultButton) = 0;
    // A file-open dialog; "" when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    // A file-save dialog offering `filters` (";;" between them); "" when the user cancels. The
    // filter the user chose is put in `selectedFilter` when given.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& filters, QString* selectedFilter) = 0;
    // Shows a window modally and returns its result code.
    virtual int execModal(QDialog& dialog) = 0;
    // The print dialog: true when the user confirmed, the printer then set as chosen.
    virtual bool printDialog(QPrinter& printer, QWidget* parent) = 0;
    // The page-setup dialog: true when the user confirmed, the printer then set as chosen.
    virtual bool pageSetupDialog(QPrinter& printer, QWidget* parent) = 0;

    // The installed implementation (the Qt one unless a test or tool installed another).
    static Dialogs& get();
    static void install(std::unique_ptr<Dialogs> dialogs);
};

// Short form for the common case.
Dialogs::Answer showMessage(const QString& text, const QString& title,
                            Dialogs::Buttons buttons = Dialogs::Buttons::Ok,
                            Dialogs::Icon icon = Dialogs::Icon::None,
                            Dialogs::Answer defaultButton = Dialogs::Answer::Ok);
