#pragma once

#include "core/reports/ReportWriter.h"

#include <QWidget>
#include <memory>

class Anchors;
class PrintDocument;
class QAction;
class SearchPanel;

// "Imprimer une fiche": finds records like the search window, then prints the chosen ones as a
// full or a short listing.
class Session;
class PrintSelectionWindow : public QWidget {
    Q_OBJECT

public:
    explicit PrintSelectionWindow(Session& session, QWidget* parent = nullptr);
    ~PrintSelectionWindow() override;

    static PrintSelectionWindow* open(Session& session);
    static PrintSelectionWindow* existing();

    SearchPanel& criteria() const { return *m_criteria; }
    PrintDocument& browser() const { return *m_printDocument; }

    void selectAllRows();
    void clearAllRows();
    void printFull();
    void printShort();
    void pageSetup();
    // Writes the selected records (or, once the user agrees, every listed one) to a TBX or CSV
    // file for translation tools.
    void exportRecords();

    // The record numbers of the selected rows, in the list's order.
    IdentifierList selectedIdentifiers() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(class QCloseEvent* event) override;
    void resizeEvent(class QResizeEvent* event) override;

private:
    enum class Listing { Full, Short };
    void print(Listing listing);
    void setPrintCommands(bool available);

    SearchPanel* m_criteria;
    std::unique_ptr<Anchors> m_anchors;
    class QMenuBar* m_menuBar;
    QWidget* m_client;
    PrintDocument* m_printDocument;
    QAction* mnuPrintShort;
    QAction* mnuPrintFull;
    QAction* mnuExport;
    Session& m_session;
};
