#pragma once

#include <QObject>
#include <QPrinter>
#include <QString>
#include <QTextDocument>

class QWidget;

// Stands in for a window's embedded browser: loads the spool file, reports when it has loaded
// (never before), prints it through the print dialog, and keeps the page setup for the
// window's later prints.
class PrintDocument : public QObject {
    Q_OBJECT

public:
    // The address reported when the empty address has loaded.
    static constexpr const char* kEmptyAddress = "http:///";

    explicit PrintDocument(QWidget* window);

    // The empty address loads nothing; a file path loads that file. Completion comes later,
    // from the event loop, through loaded.
    void navigate(const QString& address);
    // Shows the print dialog and prints the loaded document when the user confirms.
    bool print();
    // Shows the page-setup dialog; its settings apply to the later prints.
    void pageSetup();

    const QTextDocument& document() const { return m_document; }
    QPrinter& printer() { return m_printer; }

signals:
    void loaded(const QString& address);

private:
    // Lays the loaded report out as a browser would: words are never broken (so a column is at
    // least as wide as its longest word), rules span the page, narrow cells are not justified.
    void layOutAsABrowser();

    QWidget* m_window;
    QTextDocument m_document;
    QPrinter m_printer;
};
