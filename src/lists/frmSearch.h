#pragma once

#include <QWidget>
#include <memory>

class Anchors;
class QPushButton;
class SearchCriteria;

// "Rechercher une fiche": finds records, opens one in the record editor, deletes records.
class frmSearch : public QWidget {
    Q_OBJECT

public:
    explicit frmSearch(QWidget* parent = nullptr);
    ~frmSearch() override;

    // The one search window: shown, created when needed.
    static frmSearch* Open();
    static frmSearch* existing();

    SearchCriteria& criteria() const { return *m_criteria; }

    void cmdDisplay_Click();
    void lvwResult_DblClick();
    void cmdDelete_Click();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setRecordCommands(bool available);
    // The selected row, or -1 after telling the user to choose one.
    int chosenRow();

    SearchCriteria* m_criteria;
    std::unique_ptr<Anchors> m_anchors;
    QPushButton* cmdDisplay;
    QPushButton* cmdDelete;
    QPushButton* cmdClose;
};
