#include "gui/domains/DomainWindow.h"

#include "core/AppError.h"
#include "core/db/Command.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/StoredRow.h"
#include "core/db/Transaction.h"
#include "core/db/WriteUnlessChanged.h"
#include "core/search/TextColumn.h"
#include "core/session/Session.h"
#include "core/text/LineBreak.h"
#include "core/text/Validation.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/dialogs/WindowMessages.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/print/PrintDocument.h"
#include "gui/print/PrintFlow.h"
#include "gui/widgets/Named.h"
#include "gui/widgets/SingleWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

void inform(const QString& text, const QString& title) {
    showMessage(text, title, Dialogs::Buttons::Ok, Dialogs::Icon::Information);
}

// Renames domain `id` only as the window listed it (`seen`): when someone renamed it meanwhile
// the user is asked first. False when the user kept the other name: nothing was written.
bool renameDomain(Connection& connection, int id, const QString& seen, const QString& name) {
    const auto open = [&](Recordset& rs) {
        openStoredRow(rs, connection, u"Domains"_s, id,
                      u"Le domaine « "_s + seen +
                          u" » n'existe plus : il a été supprimé entre-temps."_s);
    };
    return writeUnlessChanged(
        connection, seen,
        [&] {
            Recordset rs;
            open(rs);
            return rs.value(u"Name"_s).toString();
        },
        [&] {
            Recordset rs;
            open(rs);
            rs.setValue(u"Name"_s, name);
            rs.update();
        },
        [](const QString& stored) {
            return showMessage(
                       u"Ce domaine a été renommé « "_s + stored +
                           u" » depuis que vous l'avez choisi. Voulez-vous remplacer ce nom "
                           u"par le vôtre?"_s,
                       u"Domaine modifié entre-temps"_s, Dialogs::Buttons::YesNo,
                       Dialogs::Icon::Exclamation, Dialogs::Answer::No) == Dialogs::Answer::Yes;
        });
}

} // namespace

DomainWindow::DomainWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(u"frmDomain"_s);
    setWindowTitle(u"Gestion des domaines"_s);
    sstChoix = named(new QTabWidget(this), u"sstChoix"_s);
    sstChoix->addTab(addTab(), u"Aj&out"_s);
    sstChoix->addTab(editTab(), u"Mo&dification"_s);
    sstChoix->addTab(deleteTab(), u"Su&ppression"_s);
    sstChoix->addTab(mergeTab(), u"F&usion"_s);
    sstChoix->addTab(listTab(), u"L&iste"_s);
    (new QVBoxLayout(this))->addWidget(sstChoix);
    resize(520, 340);
    connect(sstChoix, &QTabWidget::currentChanged, this, &DomainWindow::chooseTab);

    m_printDocument = new PrintDocument(this);
    PrintFlow::printOnLoad(*m_printDocument, u"WebBrowser1_NavigateComplete2"_s);
    m_printDocument->navigate(QString());
}

DomainWindow* DomainWindow::open(Session& session) {
    return SingleWindow<DomainWindow>::open(session);
}

DomainWindow* DomainWindow::existing() {
    return SingleWindow<DomainWindow>::existing();
}

QPushButton* DomainWindow::quitButton(QWidget* tab, int index) {
    auto* b = named(new QPushButton(u"&Quitter"_s, tab), u"cmdQuit"_s + QString::number(index));
    connect(b, &QPushButton::clicked, this, &QWidget::close);
    return b;
}

QWidget* DomainWindow::addTab() {
    auto* tab = new QWidget;
    txtAdd = named(new QLineEdit(tab), u"txtAdd"_s);
    auto* cmdAdd = named(new QPushButton(u"&Ajouter"_s, tab), u"cmdAdd"_s);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(
        named(new QLabel(u"Veuillez entrer le nom du domaine à ajouter."_s, tab), u"Label5"_s), 0,
        0, 1, 2);
    grid->addWidget(txtAdd, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->addWidget(cmdAdd, 3, 0, Qt::AlignLeft);
    grid->addWidget(quitButton(tab, 2), 3, 1, Qt::AlignRight);
    connect(cmdAdd, &QPushButton::clicked, this, &DomainWindow::add);
    txtAdd->installEventFilter(this);
    return tab;
}

QWidget* DomainWindow::editTab() {
    auto* tab = new QWidget;
    cboEdit = named(new QComboBox(tab), u"cboEdit"_s);
    txtEdit = named(new QLineEdit(tab), u"txtEdit"_s);
    auto* cmdEdit = named(new QPushButton(u"&Modifier"_s, tab), u"cmdEdit"_s);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(named(new QLabel(u"Quel domaine voulez-vous modifier?"_s, tab), u"Label1"_s), 0,
                    0, 1, 2);
    grid->addWidget(cboEdit, 1, 0, 1, 2);
    grid->addWidget(
        named(new QLabel(u"Veuillez entrer le nouveau nom du domaine."_s, tab), u"Label2"_s), 2, 0,
        1, 2);
    grid->addWidget(txtEdit, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    grid->addWidget(cmdEdit, 5, 0, Qt::AlignLeft);
    grid->addWidget(quitButton(tab, 0), 5, 1, Qt::AlignRight);
    connect(cmdEdit, &QPushButton::clicked, this, &DomainWindow::rename);
    connect(cboEdit, &QComboBox::activated, this, &DomainWindow::editChoiceChanged);
    txtEdit->installEventFilter(this);
    return tab;
}

QWidget* DomainWindow::deleteTab() {
    auto* tab = new QWidget;
    cboDelete = named(new QComboBox(tab), u"cboDelete"_s);
    auto* cmdDelete = named(new QPushButton(u"&Supprimer"_s, tab), u"cmdDelete"_s);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(named(new QLabel(u"Quel domaine voulez-vous supprimer?"_s, tab), u"Label4"_s),
                    0, 0, 1, 2);
    grid->addWidget(cboDelete, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->addWidget(cmdDelete, 3, 0, Qt::AlignLeft);
    grid->addWidget(quitButton(tab, 1), 3, 1, Qt::AlignRight);
    connect(cmdDelete, &QPushButton::clicked, this, &DomainWindow::remove);
    cboDelete->installEventFilter(this);
    return tab;
}

QWidget* DomainWindow::mergeTab() {
    auto* tab = new QWidget;
    cboMerge1 = named(new QComboBox(tab), u"cboMerge1"_s);
    cboMerge2 = named(new QComboBox(tab), u"cboMerge2"_s);
    lblSend1 = named(new QLabel(u">>"_s, tab), u"lblSend1"_s);
    lblSend2 = named(new QLabel(u">>"_s, tab), u"lblSend2"_s);
    txtMerge = named(new QLineEdit(tab), u"txtMerge"_s);
    auto* cmdMerge = named(new QPushButton(u"&Fusionner"_s, tab), u"cmdMerge"_s);
    for (QLabel* send : {lblSend1, lblSend2}) {
        QFont bold = send->font();
        bold.setBold(true);
        send->setFont(bold);
        send->setCursor(Qt::PointingHandCursor);
        send->installEventFilter(this);
    }
    auto* grid = new QGridLayout(tab);
    grid->addWidget(
        named(new QLabel(u"Veuillez choisir le premier domaine (No.1):"_s, tab), u"Label6"_s), 0, 0,
        1, 3);
    grid->addWidget(cboMerge1, 1, 0, 1, 2);
    grid->addWidget(lblSend1, 1, 2);
    grid->addWidget(
        named(new QLabel(u"Veuillez choisir le second domaine (No.2):"_s, tab), u"Label7"_s), 2, 0,
        1, 3);
    grid->addWidget(cboMerge2, 3, 0, 1, 2);
    grid->addWidget(lblSend2, 3, 2);
    grid->addWidget(
        named(new QLabel(u"Veuillez entrer le nom du nouveau domaine."_s, tab), u"Label8"_s), 4, 0,
        1, 3);
    grid->addWidget(txtMerge, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    grid->addWidget(cmdMerge, 7, 0, Qt::AlignLeft);
    grid->addWidget(quitButton(tab, 3), 7, 1, 1, 2, Qt::AlignRight);
    connect(cmdMerge, &QPushButton::clicked, this, &DomainWindow::merge);
    txtMerge->installEventFilter(this);
    return tab;
}

QWidget* DomainWindow::listTab() {
    auto* tab = new QWidget;
    lvwDomains = named(new ListView(tab), u"lvwDomains"_s);
    auto* print = named(new QPushButton(u"Imprimer"_s, tab), u"printDomainList"_s);
    auto* grid = new QGridLayout(tab);
    grid->addWidget(lvwDomains, 0, 0, 1, 2);
    grid->addWidget(print, 1, 0, Qt::AlignLeft);
    grid->addWidget(quitButton(tab, 4), 1, 1, Qt::AlignRight);
    connect(print, &QPushButton::clicked, this, &DomainWindow::printDomainList);
    return tab;
}

bool DomainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == lblSend1 || watched == lblSend2)) {
        watched == lblSend1 ? takeFirstName() : takeSecondName();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtAdd) {
                add();
            } else if (watched == txtEdit) {
                rename();
            } else if (watched == cboDelete) {
                remove();
            } else if (watched == txtMerge) {
                merge();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DomainWindow::chooseTab(int tab) {
    switch (tab) {
    case Edit:
        fillDomains(*cboEdit);
        break;
    case Delete:
        fillDomains(*cboDelete);
        break;
    case Merge:
        fillDomains(*cboMerge1);
        fillDomains(*cboMerge2);
        break;
    case List:
        loadDomainList();
        break;
    default:
        break;
    }
}

void DomainWindow::fillDomains(QComboBox& list) {
    try {
        Connection connection;
        connection.open(m_session.location(), Connection::Mode::Read);
        Recordset rs;
        rs.open(u"SELECT * FROM Domains order by name"_s, connection, Recordset::Dynamic,
                Recordset::OptimisticLock);
        list.clear();
        for (; !rs.atEnd(); rs.moveNext()) {
            list.addItem(rs.value(u"Name"_s).toString(), rs.value(u"Id"_s).toInt());
        }
    } catch (const AppError& e) {
        showErrorBox(u"Fill_Domain"_s, e);
    }
    list.setCurrentIndex(-1);
}

void DomainWindow::loadDomainList() {
    if (m_listFilled) {
        return;
    }
    auto descriptor = std::make_shared<TextColumn>();
    descriptor->define(u"NAME"_s, u"Domaine"_s);
    m_colDisplay = std::make_unique<ColumnList>(ColumnList{descriptor});
    ListFiller::fill(*lvwDomains, m_session.location(), u"SELECT NAME FROM Domains order by name"_s,
                     *this, u"Affichage des Domaines"_s, m_colDisplay.get());
    m_listFilled = true;
}

void DomainWindow::editChoiceChanged() {
    txtEdit->setText(cboEdit->currentText());
}

void DomainWindow::takeFirstName() {
    txtMerge->setText(cboMerge1->currentText());
}

void DomainWindow::takeSecondName() {
    txtMerge->setText(cboMerge2->currentText());
}

bool DomainWindow::nameIsFree(Connection& connection, const QString& name, const QString& title,
                              std::initializer_list<int> except) {
    Recordset rs;
    // Bound: the name compared is exactly the name typed.
    rs.open(u"SELECT * FROM domains WHERE Name = ?"_s, {name}, connection, Recordset::Static,
            Recordset::OptimisticLock);
    for (; !rs.atEnd(); rs.moveNext()) {
        if (std::find(except.begin(), except.end(), rs.value(u"ID"_s).toInt()) == except.end()) {
            showMessage(u"Désolé, ce domaine existe déjà."_s, title, Dialogs::Buttons::Ok,
                        Dialogs::Icon::Critical);
            return false;
        }
    }
    return true;
}

void DomainWindow::add() {
    const QString name = txtAdd->text().trimmed();
    if (name.isEmpty()) {
        showInvalidFields(u"Le nom du domaine."_s + kCrLf);
        return;
    }
    try {
        Connection connection;
        connection.open(m_session.location(), Connection::Mode::ReadWrite);
        if (!nameIsFree(connection, name, u"Création du domaine impossible"_s)) {
            return;
        }
        Recordset rs;
        rs.open(u"SELECT * FROM Domains WHERE ID = 0"_s, connection, Recordset::Dynamic,
                Recordset::OptimisticLock);
        rs.addNew();
        rs.setValue(u"Name"_s, name);
        rs.update();
        txtAdd->clear();
        inform(u"Le domaine a été ajouté."_s, u"Ajout du domaine réussi!"_s);
    } catch (const AppError& e) {
        showDatabaseError(u"cmdAdd_Click"_s, e);
    }
}

void DomainWindow::rename() {
    QString errors;
    if (cboEdit->currentIndex() < 0) {
        errors += u"Le domaine à modifier."_s + kCrLf;
    }
    if (txtEdit->text().trimmed().isEmpty()) {
        errors += u"Le nouveau nom du domaine."_s + kCrLf;
    }
    if (!errors.isEmpty()) {
        showInvalidFields(errors);
        return;
    }
    const int id = cboEdit->currentData().toInt();
    const QString name = txtEdit->text().trimmed();
    try {
        Connection connection;
        connection.open(m_session.location(), Connection::Mode::ReadWrite);
        if (!nameIsFree(connection, name, u"Modification du domaine impossible"_s, {id})) {
            return;
        }
        if (!renameDomain(connection, id, cboEdit->currentText(), name)) {
            return; // the typed name stays
        }
        inform(u"Le domaine a été modifié."_s, u"Modification du domaine réussie"_s);
        txtEdit->clear();
    } catch (const AppError& e) {
        showDatabaseError(u"cmdEdit_Click"_s, e);
        return;
    }
    fillDomains(*cboEdit);
}

void DomainWindow::remove() {
    if (cboDelete->currentIndex() < 0) {
        showInvalidFields(u"Le nom du domaine à supprimer."_s + kCrLf);
        return;
    }
    const qlonglong id = cboDelete->currentData().toLongLong();
    try {
        long records = 0;
        {
            Connection connection;
            connection.open(m_session.location(), Connection::Mode::ReadWrite);
            Recordset rs;
            rs.open(u"SELECT * FROM files WHERE domainid = ?;"_s, {id}, connection,
                    Recordset::Static, Recordset::OptimisticLock);
            records = rs.recordCount();
        }
        if (showMessage(
                u"Êtes-vous certain de vouloir supprimer ce domaine? Cela supprimera aussi "_s +
                    QString::number(records) +
                    u" fiche(s) pour lesquelles ce domaine s'applique."_s,
                u"Suppression d'une fiche?"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Information,
                Dialogs::Answer::Yes) != Dialogs::Answer::Yes) {
            return;
        }
        executeChange(m_session.location(), u"DELETE * FROM domains WHERE ID = ?;"_s, {id});
        inform(u"Le domaine et les fiches s'y rapportant ont été supprimés."_s,
               u"Suppression réussie!"_s);
    } catch (const AppError& e) {
        showDatabaseError(u"cmdDelete_Click"_s, e);
        return;
    }
    fillDomains(*cboDelete);
}

void DomainWindow::merge() {
    QString errors;
    if (cboMerge1->currentIndex() < 0) {
        errors += u"Le premier domaine (No.1)."_s + kCrLf;
    }
    if (cboMerge2->currentIndex() < 0) {
        errors += u"Le second domaine (No.2)."_s + kCrLf;
    }
    if (cboMerge1->currentIndex() >= 0 &&
        cboMerge1->currentData().toInt() == cboMerge2->currentData().toInt()) {
        errors += u"Deux domaines différents."_s + kCrLf;
    }
    const QString name = txtMerge->text().trimmed();
    if (name.isEmpty()) {
        errors += u"Le nom du nouveau domaine."_s + kCrLf;
    }
    if (!errors.isEmpty()) {
        showInvalidFields(errors);
        return;
    }
    const qlonglong first = cboMerge1->currentData().toLongLong();
    const qlonglong second = cboMerge2->currentData().toLongLong();
    try {
        Connection connection;
        connection.open(m_session.location(), Connection::Mode::ReadWrite);
        // A third domain may not already bear the name.
        if (!nameIsFree(connection, name, u"Fusion des domaines impossible"_s,
                        {cboMerge1->currentData().toInt(), cboMerge2->currentData().toInt()})) {
            return;
        }
        // All or nothing: an interruption never leaves records half moved.
        Transaction transaction(connection);
        Recordset files;
        files.open(u"SELECT * FROM Files WHERE domainID = ?"_s, {second}, connection,
                   Recordset::Static, Recordset::OptimisticLock);
        for (; !files.atEnd(); files.moveNext()) {
            files.setValue(u"DomainID"_s, first);
        }
        files.close();
        Recordset domain;
        domain.open(u"SELECT * FROM Domains WHERE ID = ?"_s, {first}, connection, Recordset::Static,
                    Recordset::OptimisticLock);
        domain.setValue(u"Name"_s, name);
        domain.update();
        domain.close();
        Command command;
        command.setActiveConnection(connection);
        command.setCommandText(u"DELETE * FROM domains WHERE ID = ?;"_s);
        command.setParameters({second});
        command.execute();
        transaction.commit();
    } catch (const AppError& e) {
        showDatabaseError(u"cmdMerge_Click"_s, e);
        return;
    }
    inform(u"La fusion a été effectuée avec succès,"_s, u"Fusion réussie"_s);
    cboMerge1->setCurrentIndex(-1);
    cboMerge2->setCurrentIndex(-1);
    txtMerge->clear();
    fillDomains(*cboMerge1);
    fillDomains(*cboMerge2);
}

void DomainWindow::printDomainList() {
    if (lvwDomains->selectedRows().empty()) {
        return;
    }
    PrintFlow::Request request;
    request.embedded = [](const DatabaseLocation& location, const IdentifierList&,
                          const QString& spool,
                          const QString& title) { return writeDomainList(location, spool, title); };
    PrintFlow::print(m_session, *this, *m_printDocument, request);
}
