#include "PrintDocument.h"

#include "common/AppError.h"
#include "common/Dialogs.h"
#include "storage/FileIo.h"

#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

PrintDocument::PrintDocument(QWidget* window)
    : QObject(window), m_window(window), m_printer(QPrinter::HighResolution) {}

void PrintDocument::Navigate(const QString& address) {
    QString reported = address;
    if (address.isEmpty()) {
        m_document.clear();
        reported = QString::fromLatin1(kEmptyAddress);
    } else {
        // The reports are ISO-8859-1, as they declare.
        m_document.setHtml(QString::fromLatin1(FileIo::readAll(address)));
    }
    QTimer::singleShot(0, this, [this, reported] { emit navigateComplete(reported); });
}

bool PrintDocument::ExecWBPrint() {
    if (!Dialogs::get().printDialog(m_printer, m_window)) {
        return false;
    }
    m_document.print(&m_printer);
    return true;
}

void PrintDocument::ExecWBPageSetup() {
    Dialogs::get().pageSetupDialog(m_printer, m_window);
}
