#pragma once

#include "core/search/ColumnDescriptor.h"

#include <QWidget>
#include <initializer_list>
#include <memory>

class ListView;
class PrintDocument;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// "Gestion des domaines": adds, renames, deletes, merges, lists and prints subject domains.
class Session;
class DomainWindow : public QWidget {
    Q_OBJECT

public:
    enum Tab { Add = 0, Edit = 1, Delete = 2, Merge = 3, List = 4 };

    explicit DomainWindow(Session& session, QWidget* parent = nullptr);

    static DomainWindow* open(Session& session);
    static DomainWindow* existing();

    void chooseTab(int tab);
    void add();
    void rename();
    void remove();
    void merge();
    void printDomainList();
    void editChoiceChanged();
    void takeFirstName();
    void takeSecondName();

    void fillDomains(QComboBox& list);
    PrintDocument& browser() const { return *m_printDocument; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* addTab();
    QWidget* editTab();
    QWidget* deleteTab();
    QWidget* mergeTab();
    QWidget* listTab();
    QPushButton* quitButton(QWidget* tab, int index);
    void loadDomainList();
    // False after the window's message when a domain other than those of `except` already
    // bears the name.
    bool nameIsFree(class Connection& connection, const QString& name, const QString& title,
                    std::initializer_list<int> except = {});

    QTabWidget* sstChoix;
    QLineEdit* txtAdd;
    QComboBox* cboEdit;
    QLineEdit* txtEdit;
    QComboBox* cboDelete;
    QComboBox* cboMerge1;
    QComboBox* cboMerge2;
    QLabel* lblSend1;
    QLabel* lblSend2;
    QLineEdit* txtMerge;
    ListView* lvwDomains;
    PrintDocument* m_printDocument;
    std::unique_ptr<ColumnList> m_colDisplay;
    bool m_listFilled = false;
    Session& m_session;
};
