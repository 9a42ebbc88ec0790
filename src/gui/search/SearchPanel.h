#pragma once

#include "core/search/ColumnDescriptor.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Anchors;
class Session;
class ListView;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QValidator;
class QWidget;

// The criteria part shared by the search and print selection windows: the field choice, the
// search text or date range, the new search and the refinement, the count and the result list.
class SearchPanel : public QObject {
    Q_OBJECT

public:
    // Where the two windows differ.
    struct Variant {
        QString firstHeader;                         // "No de Fiche" or "No de fiche"
        int textLeft;                                // twips: left of "Pour:" and the search text
        int dateLabelTop;                            // twips: top of "Entre le" and "Et le"
        bool multipleSelection;                      // the print window chooses several rows
        std::function<void(bool)> setRecordCommands; // after a search: found something or not
        std::function<void()> beforeRefill;          // when the window becomes active again
    };

    // Builds the controls on the window.
    SearchPanel(QWidget& window, Session& session, Variant variant);
    ~SearchPanel() override;

    // Keeps the list growing with the window and the search buttons at its right.
    void anchor(Anchors& anchors) const;

    void load();
    // The window became active: refill unless it only got the focus back from its own box,
    // question, print dialog or progress window.
    void windowActivated();
    void activate();
    void unload();
    // The window may close unless a list is being filled; then the criteria are released.
    bool mayClose();
    void fieldFocused();
    void fieldChosen();
    // False when the key is swallowed.
    bool acceptSearchKey(int keyCode);
    void search();
    void searchWithinResults();

    const QString& currentQuery() const { return m_query; }
    const ColumnList* columns() const { return m_colDisplay.get(); }
    ListView& list() const { return *lvwResult; }
    // Refills the list with the current query, keeping the sort and the chosen records that
    // are still there; returns the count.
    std::int32_t refill();
    // The same, then the record commands and the count follow, as after a search.
    void fillAgain();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool dateFieldChosen() const;
    // Shows why the typed criterion cannot be searched; true when it can.
    bool criterionAccepted();
    int chosenField() const;
    void fill(const QString& statement);
    void showCount(std::int32_t count);
    // A label stands just before its picker, on its line, whole.
    static void placeBefore(QLabel& label, const QWidget& picker);
    // A record was stored or deleted elsewhere.
    void recordsChanged();

    QWidget& m_window;
    Session& m_session;
    Variant m_variant;
    QString m_query;
    QString m_fieldTag;
    std::unique_ptr<ColumnList> m_colDisplay;

    QComboBox* cboField;
    QLineEdit* txtSearch;
    QValidator* m_digitsOnly;
    QLabel* Label3;
    QLabel* Label5;
    QDateEdit* dtpDateStart;
    QDateEdit* dtpDateEnd;
    QPushButton* cmdSearchResult;
    QPushButton* cmdSearch;
    QLabel* lblResult;
    QLabel* Label4;
    ListView* lvwResult;
};
