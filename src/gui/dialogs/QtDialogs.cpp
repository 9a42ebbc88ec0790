#include "gui/dialogs/QtDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace {

QMessageBox::StandardButton toStandard(Dialogs::Answer a) {
    switch (a) {
    case Dialogs::Answer::Ok:
        return QMessageBox::Ok;
    case Dialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons toButtons(Dialogs::Buttons b) {
    switch (b) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toIcon(Dialogs::Icon i) {
    switch (i) {
    case Dialogs::Icon::None:
        return QMessageBox::NoIcon;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

Dialogs::Answer fromStandard(int b) {
    switch (b) {
    case QMessageBox::Cancel:
        return Dialogs::Answer::Cancel;
    case QMessageBox::Yes:
        return Dialogs::Answer::Yes;
    case QMessageBox::No:
        return Dialogs::Answer::No;
    default:
        return Dialogs::Answer::Ok;
    }
}

} // namespace

Dialogs::Answer QtDialogs::message(const QString& text, const QString& title, Buttons buttons,
                                   Icon icon, Answer defaultButton) {
    QMessageBox box(toIcon(icon), title, text, toButtons(buttons));
    // Messages quote names and paths the user typed: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(toStandard(defaultButton));
    const int result = box.exec();
    // Closing a Yes/No box by its frame counts as the safe answer.
    if (result == QMessageBox::Escape || result == 0) {
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    return fromStandard(result);
}

QString QtDialogs::openFileName(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& title, const QString& folder,
                                const QString& filters, QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, title, folder, filters, selectedFilter);
}

int QtDialogs::execModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtDialogs::printDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::pageSetupDialog(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
