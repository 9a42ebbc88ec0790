#pragma once

#include "basReport.h"

#include <QWidget>
#include <memory>

class Anchors;
class PrintDocument;
class QAction;
class SearchCriteria;

// "Imprimer une fiche": finds records like the search window, then prints the chosen ones as a
// full or a short listing.
class frmPrint : public QWidget {
    Q_OBJECT

public:
    explicit frmPrint(QWidget* parent = nullptr);
    ~frmPrint() override;

    static frmPrint* Open();
    static frmPrint* existing();

    SearchCriteria& criteria() const { return *m_criteria; }
    PrintDocument& browser() const { return *WebBrowser; }

    void cmdSelectAll_Click();
    void cmdClearAll_Click();
    void mnuPrintFull_Click();
    void mnuPrintShort_Click();
    void mnuPrintPageSetup_Click();

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

    SearchCriteria* m_criteria;
    std::unique_ptr<Anchors> m_anchors;
    class QMenuBar* m_menuBar;
    QWidget* m_client;
    PrintDocument* WebBrowser;
    QAction* mnuPrintShort;
    QAction* mnuPrintFull;
};
