#include "gui/accounts/AccountWindow.h"

#include "core/AppError.h"
#include "core/db/Command.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/StoredRow.h"
#include "core/db/WriteUnlessChanged.h"
#include "core/search/CodedColumn.h"
#include "core/search/TextColumn.h"
#include "core/session/Session.h"
#include "core/text/FieldText.h"
#include "core/text/LineBreak.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/dialogs/WindowMessages.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/widgets/Named.h"
#include "gui/widgets/SingleWindow.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMinLength = 4;

// Cells of a row, by position: the query's column order.
enum Column { Number = 0, Name = 1, Login = 2, Pass = 3, Level = 4 };

// The stored fields behind the list's name, login, password and level cells.
const QStringList kShownFields = {u"Name"_s, u"Login"_s, u"Pass"_s, u"Type"_s};

bool askToReplace() {
    return showMessage(
               u"Ce compte d'usager a été modifié par un autre administrateur depuis que vous "
               u"l'avez choisi. Voulez-vous remplacer ses changements par les vôtres?"_s,
               u"Compte modifié entre-temps"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation,
               Dialogs::Answer::No) == Dialogs::Answer::Yes;
}

std::shared_ptr<ColumnDescriptor> plain(const QString& source, const QString& display) {
    auto d = std::make_shared<TextColumn>();
    d->define(source, display);
    return d;
}

} // namespace

AccountWindow::AccountWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(u"frmAdministrator"_s);
    setWindowTitle(u"Gestion des usagers"_s);
    lvwResult = named(new ListView(this), u"lvwResult"_s);
    auto* fraUser = named(new QGroupBox(u"Information sur l'usager"_s, this), u"fraUser"_s);
    txtName = named(new QLineEdit(fraUser), u"txtName"_s);
    txtLogin = named(new QLineEdit(fraUser), u"txtLogin"_s);
    txtPassword = named(new QLineEdit(fraUser), u"txtPassword"_s);
    txtName->setMaxLength(25);
    txtLogin->setMaxLength(15);
    txtPassword->setMaxLength(15);
    optAdministrateur =
        named(new QRadioButton(u"A&dministrateur"_s, fraUser), u"optAdministrateur"_s);
    optGestionnaire = named(new QRadioButton(u"&Gestionnaire"_s, fraUser), u"optGestionnaire"_s);
    optProprietaire = named(new QRadioButton(u"P&ropriétaire"_s, fraUser), u"optPropriétaire"_s);
    optProprietaire->setChecked(true);
    auto* cmdAdd = named(new QPushButton(u"&Ajouter"_s, this), u"cmdAdd"_s);
    cmdSave = named(new QPushButton(u"&Sauvegarder"_s, this), u"cmdSave"_s);
    auto* cmdDelete = named(new QPushButton(u"Su&pprimer"_s, this), u"cmdDelete"_s);
    auto* cmdQuit = named(new QPushButton(u"&Quitter"_s, this), u"cmdQuit"_s);

    auto* fields = new QGridLayout(fraUser);
    const auto caption = [fraUser](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, fraUser);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(caption(u"&Nom de la personne"_s, txtName), 0, 0);
    fields->addWidget(txtName, 0, 1);
    fields->addWidget(caption(u"Nom d' &usager:"_s, txtLogin), 1, 0);
    fields->addWidget(txtLogin, 1, 1);
    fields->addWidget(caption(u"&Mot de passe:"_s, txtPassword), 2, 0);
    fields->addWidget(txtPassword, 2, 1);
    auto* levels = new QVBoxLayout;
    for (QRadioButton* o : {optAdministrateur, optGestionnaire, optProprietaire}) {
        levels->addWidget(o);
    }
    fields->addLayout(levels, 0, 2, 3, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdSave, cmdDelete}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(cmdQuit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwResult, 1);
    layout->addWidget(fraUser);
    layout->addLayout(buttons);
    resize(640, 480);

    for (QLineEdit* box : {txtName, txtLogin, txtPassword}) {
        connect(box, &QLineEdit::textChanged, this, &AccountWindow::changed);
    }
    for (QRadioButton* o : {optAdministrateur, optGestionnaire, optProprietaire}) {
        connect(o, &QRadioButton::clicked, this, &AccountWindow::changed);
    }
    connect(lvwResult, &ListView::clicked, this,
            [this](const QModelIndex& index) { showAccount(index.row()); });
    connect(lvwResult, &ListView::columnClicked, this, [this](int position) {
        ListFiller::sortByColumn(*lvwResult, static_cast<std::int16_t>(position));
    });
    connect(cmdAdd, &QPushButton::clicked, this, &AccountWindow::add);
    connect(cmdSave, &QPushButton::clicked, this, &AccountWindow::save);
    connect(cmdDelete, &QPushButton::clicked, this, &AccountWindow::remove);
    connect(cmdQuit, &QPushButton::clicked, this, &QWidget::close);

    auto level = std::make_shared<CodedColumn>();
    level->define(u"Type"_s, u"Type"_s, 0,
                  {u"Administrateur"_s, u"Gestionnaire"_s, u"Propriétaire"_s});
    m_colDisplay = std::make_unique<ColumnList>(
        ColumnList{plain(u"ID"_s, u"ID"_s), plain(u"Login"_s, u"Nom d'usager"_s),
                   plain(u"Pass"_s, u"Mot de passe"_s), level, plain(u"Name"_s, u"Nom"_s)});
    fillList();
    cmdSave->setEnabled(false);
}

AccountWindow* AccountWindow::open(Session& session) {
    return SingleWindow<AccountWindow>::open(session);
}

AccountWindow* AccountWindow::existing() {
    return SingleWindow<AccountWindow>::existing();
}

void AccountWindow::fillList() {
    ListFiller::fill(*lvwResult, m_session.location(), u"Select * from Passwords"_s, *this,
                     u"Affichage des comptes"_s, m_colDisplay.get());
}

void AccountWindow::changed() {
    if (!m_filling) {
        cmdSave->setEnabled(true);
    }
}

void AccountWindow::showAccount(int row) {
    m_filling = true;
    m_selected = lvwResult->itemText(row, Number);
    m_loaded.clear();
    for (int column : {Name, Login, Pass, Level}) {
        m_loaded << lvwResult->itemText(row, column);
    }
    txtName->setText(lvwResult->itemText(row, Name));
    txtLogin->setText(lvwResult->itemText(row, Login));
    txtPassword->setText(lvwResult->itemText(row, Pass));
    const QString level = lvwResult->itemText(row, Level);
    (level == u"Gestionnaire"_s     ? optGestionnaire
     : level == u"Administrateur"_s ? optAdministrateur
                                    : optProprietaire)
        ->setChecked(true);
    m_filling = false;
    cmdSave->setEnabled(false);
}

QString AccountWindow::validationErrors() const {
    QString errors;
    if (txtName->text().trimmed().isEmpty()) {
        errors += u"Le nom de la personne est requis."_s + kCrLf;
    }
    if (txtLogin->text().trimmed().isEmpty() || txtLogin->text().size() < kMinLength) {
        errors += u"Le nom de l'usager doit avoir au moins 4 caractères."_s + kCrLf;
    }
    if (txtPassword->text().trimmed().isEmpty() || txtPassword->text().size() < kMinLength) {
        errors += u"Le mot de passe doit avoir au moins 4 caractères."_s + kCrLf;
    }
    return errors;
}

void AccountWindow::clearFields() {
    m_filling = true;
    for (QLineEdit* box : {txtName, txtLogin, txtPassword}) {
        box->clear();
    }
    m_filling = false;
}

void AccountWindow::save() {
    const QString errors = validationErrors();
    if (!errors.isEmpty()) {
        showInvalidFields(errors);
        return;
    }
    bool saved = false;
    try {
        saved = store();
    } catch (const AppError& e) {
        // Nothing stored: the fields and the selection stay for another try.
        showErrorBox(u"cmdSave_Click"_s, e);
        return;
    }
    if (!saved) {
        return; // the fields and the selection stay, unsaved
    }
    fillList();
    clearFields();
    cmdSave->setEnabled(false);
}

bool AccountWindow::store() {
    Connection connection;
    connection.open(m_session.location(), Connection::Mode::ReadWrite);
    if (!m_selected.isEmpty()) {
        if (!changeAccount(connection)) {
            return false;
        }
        m_selected.clear();
        return true;
    }
    Recordset rs;
    rs.open(u"SELECT * FROM Passwords WHERE ID = 0"_s, connection, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    writeFields(rs);
    rs.update();
    return true;
}

bool AccountWindow::changeAccount(Connection& connection) {
    const auto open = [&](Recordset& rs) {
        openStoredRow(rs, connection, u"Passwords"_s, m_selected.toLongLong(),
                      u"Le compte d'usager numéro "_s + m_selected +
                          u" n'existe plus : il a été supprimé entre-temps."_s);
    };
    return writeUnlessChanged(
        connection, m_loaded,
        [&] {
            Recordset rs;
            open(rs);
            return shownTexts(rs);
        },
        [&] {
            Recordset rs;
            open(rs);
            writeFields(rs);
            rs.update();
        },
        [](const QStringList&) { return askToReplace(); });
}

void AccountWindow::writeFields(Recordset& rs) {
    rs.setValue(u"Name"_s, txtName->text().trimmed());
    rs.setValue(u"Login"_s, txtLogin->text().trimmed());
    rs.setValue(u"Pass"_s, txtPassword->text().trimmed());
    rs.setValue(u"Type"_s, optAdministrateur->isChecked() ? 0
                           : optGestionnaire->isChecked() ? 1
                                                          : 2);
}

// The row's cells as the list shows them, through the window's own column descriptors.
QStringList AccountWindow::shownTexts(const Recordset& rs) const {
    QStringList texts;
    for (const QString& field : kShownFields) {
        QString text = fieldText(rs.value(field));
        for (const auto& d : *m_colDisplay) {
            if (d->sourceField().compare(field, Qt::CaseInsensitive) == 0) {
                text = d->displayValue(text);
            }
        }
        texts << text;
    }
    return texts;
}

void AccountWindow::remove() {
    if (m_selected.isEmpty()) {
        showMessage(u"Vous devez choisir un usager!"_s, u"Impossible de supprimer"_s,
                    Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    if (showMessage(u"Êtes-vous certain de vouloir supprimer cet usager?"_s,
                    u"Suppression d'un usager?"_s, Dialogs::Buttons::YesNo,
                    Dialogs::Icon::Information, Dialogs::Answer::Yes) != Dialogs::Answer::Yes) {
        return;
    }
    try {
        executeChange(m_session.location(), u"DELETE * FROM Passwords WHERE ID = ?"_s,
                      {m_selected.toLongLong()});
    } catch (const AppError& e) {
        showErrorBox(u"cmdDelete_Click"_s, e);
        return;
    }
    // The account is gone: nothing may aim a later save at it.
    m_selected.clear();
    clearFields();
    cmdSave->setEnabled(false);
    fillList();
}

void AccountWindow::add() {
    Session& session = m_session; // this window is gone once closed
    if (close()) {
        open(session);
    }
}

void AccountWindow::closeEvent(QCloseEvent* event) {
    if (cmdSave->isEnabled() && !confirmDropChanges()) {
        event->ignore();
        return;
    }
    ListFiller::destroyColumns(m_colDisplay);
    m_selected.clear();
    event->accept();
}
