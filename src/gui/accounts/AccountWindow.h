#pragma once

#include "core/search/ColumnDescriptor.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class ListView;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Gestion des usagers": lists the accounts and adds, changes and deletes them.
class Session;
class AccountWindow : public QWidget {
    Q_OBJECT

public:
    explicit AccountWindow(Session& session, QWidget* parent = nullptr);

    static AccountWindow* open(Session& session);
    static AccountWindow* existing();

    void showAccount(int row);
    void save();
    void remove();
    void add();

    ListView& list() const { return *lvwResult; }
    const QString& selectedAccount() const { return m_selected; }

protected:
    void closeEvent(class QCloseEvent* event) override;

private:
    void fillList();
    QString validationErrors() const;
    // False when the user chose to keep another administrator's changes: nothing was written.
    bool store();
    bool changeAccount(class Connection& connection);
    void writeFields(class Recordset& rs);
    QStringList shownTexts(const class Recordset& rs) const;
    void clearFields();
    void changed();

    ListView* lvwResult;
    QLineEdit* txtName;
    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QRadioButton* optAdministrateur;
    QRadioButton* optGestionnaire;
    QRadioButton* optProprietaire;
    QPushButton* cmdSave;
    std::unique_ptr<ColumnList> m_colDisplay;
    QString m_selected;
    // The selected account's name, login, password and level as the list showed them.
    QStringList m_loaded;
    bool m_filling = false;
    Session& m_session;
};
