#pragma once

#include "gui/dialogs/Dialogs.h"

// The real dialogs, built with Qt's standard boxes.
class QtDialogs : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultButton) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filters, QString* selectedFilter) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filter) override;
    int execModal(QDialog& dialog) override;
    bool printDialog(QPrinter& printer, QWidget* parent) override;
    bool pageSetupDialog(QPrinter& printer, QWidget* parent) override;
};
