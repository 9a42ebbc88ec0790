#pragma once

#include "lists/ColumnDescriptor.h"

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
class frmDomain : public QWidget {
    Q_OBJECT

public:
    enum Tab { Add = 0, Edit = 1, Delete = 2, Merge = 3, List = 4 };

    explicit frmDomain(QWidget* parent = nullptr);

    static frmDomain* Open();
    static frmDomain* existing();

    void sstChoix_Click(int tab);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdMerge_Click();
    void printDomainList_Click();
    void cboEdit_Click();
    void lblSend1_Click();
    void lblSend2_Click();

    void Fill_Domain(QComboBox& list);
    PrintDocument& browser() const { return *WebBrowser1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* addTab();
    QWidget* editTab();
    QWidget* deleteTab();
    QWidget* mergeTab();
    QWidget* listTab();
    QPushButton* quitButton(QWidget* tab, int index);
    void domainListView_Load();
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
    PrintDocument* WebBrowser1;
    std::unique_ptr<ColumnList> m_colDisplay;
    bool m_listFilled = false;
};
