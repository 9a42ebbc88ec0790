#pragma once

#include <QWidget>
#include <memory>

class Anchors;
class QPushButton;
class SearchPanel;

// "Rechercher une fiche": finds records, opens one in the record editor, deletes records.
class Session;
class SearchWindow : public QWidget {
    Q_OBJECT

public:
    explicit SearchWindow(Session& session, QWidget* parent = nullptr);
    ~SearchWindow() override;

    // The one search window: shown, created when needed.
    static SearchWindow* open(Session& session);
    static SearchWindow* existing();

    SearchPanel& criteria() const { return *m_criteria; }

    void displayChosen();
    void rowDoubleClicked();
    void remove();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setRecordCommands(bool available);
    // The selected row, or -1 after telling the user to choose one.
    int chosenRow();
    bool mayChange(const QString& owner);

    SearchPanel* m_criteria;
    std::unique_ptr<Anchors> m_anchors;
    QPushButton* cmdDisplay;
    QPushButton* cmdDelete;
    QPushButton* cmdClose;
    Session& m_session;
};
