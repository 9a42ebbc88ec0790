#include "gui/records/RecordEditor.h"

#include "core/AppError.h"
#include "core/Clock.h"
#include "core/db/Command.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/StoredRow.h"
#include "core/db/Transaction.h"
#include "core/db/WriteUnlessChanged.h"
#include "core/session/Session.h"
#include "core/text/LineBreak.h"
#include "core/text/RecordNumber.h"
#include "core/text/ShortDateFormat.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/dialogs/WindowMessages.h"
#include "gui/lists/ComboData.h"
#include "gui/print/PrintDocument.h"
#include "gui/print/PrintFlow.h"
#include "gui/startup/SignInDialog.h"
#include "gui/widgets/Named.h"
#include "gui/widgets/RecordChanges.h"
#include "gui/widgets/SingleWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Filling the window's own controls is not a change.
class Filling {
public:
    explicit Filling(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~Filling() { m_flag = m_before; }

private:
    bool& m_flag;
    bool m_before;
};

// Stored texts break their lines with carriage return and line feed, as older bases do; the
// text boxes hold bare line feeds.
QString editorText(const QVariant& stored) {
    return stored.toString().replace(kCrLf, u"\n"_s);
}

QString storedText(const QPlainTextEdit& box) {
    return box.toPlainText().trimmed().replace(u"\n"_s, kCrLf);
}

// Every field of the current row as stored (dates as day numbers), so two reads compare exactly.
QVariantList storedValues(const Recordset& rs) {
    QVariantList values;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        values << rs.rawValue(i);
    }
    return values;
}

// The stored record `shownNumber` (as the window shows it) and, when asked, its last modifier.
QVariantList readStored(Connection& connection, const QString& shownNumber,
                        QString* modifiedBy = nullptr) {
    Recordset rs;
    openStoredRow(rs, connection, u"Files"_s, shownNumber.toLongLong(),
                  u"La fiche numéro "_s + shownNumber +
                      u" n'existe plus : elle a été supprimée entre-temps."_s);
    if (modifiedBy) {
        *modifiedBy = rs.value(u"MODIFIEDBY"_s).toString();
    }
    return storedValues(rs);
}

bool askToReplace(const QString& modifiedBy) {
    // Names may come blank-padded; a change with no name (a domain merge) still gets a subject.
    const QString who = modifiedBy.trimmed();
    return showMessage(
               u"Cette fiche a été modifiée par "_s + (who.isEmpty() ? u"un autre usager"_s : who) +
                   u" depuis que vous l'avez ouverte. Voulez-vous remplacer ses changements "
                   u"par les vôtres?"_s,
               u"Fiche modifiée entre-temps"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation,
               Dialogs::Answer::No) == Dialogs::Answer::Yes;
}

} // namespace

RecordEditor::RecordEditor(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(u"frmFile"_s);
    setWindowTitle(u"Fiche"_s);
    buildControls();
    trackChanges();
    m_printDocument = new PrintDocument(this);
    PrintFlow::printOnLoad(*m_printDocument, u"WebBrowser_NavigateComplete2"_s);
    m_printDocument->navigate(QString());
}

RecordEditor* RecordEditor::open(Session& session) {
    return SingleWindow<RecordEditor>::open(session);
}

RecordEditor* RecordEditor::existing() {
    return SingleWindow<RecordEditor>::existing();
}

void RecordEditor::buildControls() {
    lblFiche = named(new QLabel(this), u"lblFiche"_s);
    cboDomain = named(new QComboBox(this), u"cboDomain"_s);
    txtEnglish = named(new QLineEdit(this), u"txtEnglish"_s);
    txtFrench = named(new QLineEdit(this), u"txtFrench"_s);
    txtSource = named(new QLineEdit(this), u"txtSource"_s);
    auto* fraDefinition =
        named(new QGroupBox(u"Définition / Contexte"_s, this), u"fraDefinition"_s);
    txtDefinition = named(new QPlainTextEdit(fraDefinition), u"txtDefinition"_s);
    auto* fraObservation = named(new QGroupBox(u"Observation"_s, this), u"fraObservation"_s);
    txtObservation = named(new QPlainTextEdit(fraObservation), u"txtObservation"_s);
    dtpDate = named(new QDateEdit(this), u"dtpDate"_s);
    lblAuteur = named(new QLabel(this), u"lblAuteur"_s);
    lblAuteur->setTextFormat(Qt::PlainText); // names are shown as typed, never as markup
    dtpLastModified = named(new QDateEdit(this), u"dtpLastModified"_s);
    lblModified = named(new QLabel(this), u"lblModified"_s);
    lblModified->setTextFormat(Qt::PlainText);
    cmdAdd = named(new QPushButton(u"&Ajouter"_s, this), u"cmdAdd"_s);
    cmdDelete = named(new QPushButton(u"&Supprimer"_s, this), u"cmdDelete"_s);
    cmdSave = named(new QPushButton(u"&Sauvegarder"_s, this), u"cmdSave"_s);
    cmdPrint = named(new QPushButton(u"&Imprimer"_s, this), u"cmdPrint"_s);
    cmdQuit = named(new QPushButton(u"&Quitter"_s, this), u"cmdQuit"_s);
    cmdSave->setEnabled(false);
    for (QDateEdit* d : {dtpDate, dtpLastModified}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(shortDateFormat());
        d->setDate(Clock::today());
    }
    (new QVBoxLayout(fraDefinition))->addWidget(txtDefinition);
    (new QVBoxLayout(fraObservation))->addWidget(txtObservation);

    auto* menuBar = new QMenuBar(this);
    QMenu* mnuPrint = named(menuBar->addMenu(u"Impression"_s), u"mnuPrint"_s);
    named(mnuPrint->addAction(u"Mise en page"_s, this, &RecordEditor::pageSetup),
          u"mnuPrintPageSetup"_s);
    named(mnuPrint->addAction(u"Imprimer (complet)"_s, this, &RecordEditor::print),
          u"mnuPrintFull"_s);

    auto* grid = new QGridLayout;
    const auto caption = [this](const QString& text) { return new QLabel(text, this); };
    grid->addWidget(caption(u"Numéro de fiche :"_s), 0, 0);
    grid->addWidget(lblFiche, 0, 1);
    grid->addWidget(caption(u"Domaine :"_s), 0, 2);
    grid->addWidget(cboDomain, 0, 3);
    grid->addWidget(caption(u"Terme anglais :"_s), 1, 0);
    grid->addWidget(txtEnglish, 1, 1, 1, 3);
    grid->addWidget(caption(u"Terme français :"_s), 2, 0);
    grid->addWidget(txtFrench, 2, 1, 1, 3);
    grid->addWidget(caption(u"Source A/F :"_s), 3, 0);
    grid->addWidget(txtSource, 3, 1, 1, 3);
    grid->addWidget(fraDefinition, 4, 0, 1, 4);
    grid->addWidget(fraObservation, 5, 0, 1, 4);
    grid->addWidget(caption(u"Date de création :"_s), 6, 0);
    grid->addWidget(dtpDate, 6, 1);
    grid->addWidget(caption(u"Auteur :"_s), 6, 2);
    grid->addWidget(lblAuteur, 6, 3);
    grid->addWidget(caption(u"Dernière date de modification :"_s), 7, 0);
    grid->addWidget(dtpLastModified, 7, 1);
    grid->addWidget(caption(u"Modifié par :"_s), 7, 2);
    grid->addWidget(lblModified, 7, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 2);
    grid->setRowStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdDelete, cmdSave, cmdPrint}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(cmdQuit);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(640, 560);

    connect(cmdAdd, &QPushButton::clicked, this, &RecordEditor::add);
    connect(cmdDelete, &QPushButton::clicked, this, &RecordEditor::remove);
    connect(cmdSave, &QPushButton::clicked, this, &RecordEditor::save);
    connect(cmdPrint, &QPushButton::clicked, this, &RecordEditor::print);
    connect(cmdQuit, &QPushButton::clicked, this, &QWidget::close);
}

void RecordEditor::trackChanges() {
    for (QLineEdit* box : {txtEnglish, txtFrench, txtSource}) {
        connect(box, &QLineEdit::textChanged, this, &RecordEditor::changed);
    }
    for (QPlainTextEdit* box : {txtDefinition, txtObservation}) {
        connect(box, &QPlainTextEdit::textChanged, this, &RecordEditor::changed);
    }
    connect(cboDomain, &QComboBox::currentIndexChanged, this, &RecordEditor::changed);
    connect(dtpDate, &QDateEdit::dateChanged, this, &RecordEditor::creationDateChanged);
    connect(dtpLastModified, &QDateEdit::dateChanged, this, &RecordEditor::modificationDateChanged);
}

void RecordEditor::changed() {
    if (!m_filling) {
        cmdSave->setEnabled(true);
    }
}

void RecordEditor::creationDateChanged() {
    if (m_filling) {
        return;
    }
    // The creation date may not lie after the last modification.
    if (dtpDate->date() > dtpLastModified->date()) {
        Filling filling(m_filling);
        dtpDate->setDate(dtpLastModified->date());
    }
    cmdSave->setEnabled(true);
}

void RecordEditor::modificationDateChanged() {
    if (m_filling) {
        return;
    }
    if (dtpLastModified->date() < dtpDate->date()) {
        Filling filling(m_filling);
        dtpLastModified->setDate(dtpDate->date());
    }
    cmdSave->setEnabled(true);
}

void RecordEditor::startBlankRecord() {
    Filling filling(m_filling);
    for (QLabel* l : {lblFiche, lblAuteur, lblModified}) {
        l->clear();
    }
    for (QLineEdit* box : {txtEnglish, txtFrench, txtSource}) {
        box->clear();
    }
    txtDefinition->clear();
    txtObservation->clear();
    cboDomain->setCurrentIndex(-1);
    m_loaded.clear();
    m_createdTime = QTime(0, 0);
    for (QDateEdit* d : {dtpDate, dtpLastModified}) {
        d->setDisplayFormat(shortDateFormat());
        d->setDate(Clock::today());
    }
}

bool RecordEditor::loadDomains(Connection& connection) {
    Recordset rs;
    rs.open(u"SELECT * FROM Domains ORDER BY Name"_s, connection, Recordset::Static,
            Recordset::OptimisticLock);
    if (rs.recordCount() > 0) {
        cboDomain->clear();
        for (; !rs.atEnd(); rs.moveNext()) {
            cboDomain->addItem(rs.value(u"Name"_s).toString(), rs.value(u"ID"_s).toInt());
        }
    }
    return true;
}

bool RecordEditor::loadRecord(Connection& connection, std::int32_t recordNumber) {
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE id = "_s + QString::number(recordNumber) + u";"_s,
            connection, Recordset::Dynamic, Recordset::OptimisticLock);
    if (rs.atEnd()) {
        return false;
    }
    lblFiche->setText(QString::number(rs.value(u"ID"_s).toLongLong()));
    cboDomain->setCurrentIndex(indexOfItemData(*cboDomain, rs.value(u"DomainID"_s).toInt()));
    txtEnglish->setText(rs.value(u"English"_s).toString());
    txtFrench->setText(rs.value(u"French"_s).toString());
    txtSource->setText(rs.value(u"AF"_s).toString());
    txtDefinition->setPlainText(editorText(rs.value(u"DEFINITION"_s)));
    txtObservation->setPlainText(editorText(rs.value(u"OBSERVATION"_s)));
    const QDateTime created = rs.value(u"Date"_s).toDateTime();
    dtpDate->setDate(created.isValid() ? created.date() : Clock::today());
    m_createdTime = created.isValid() ? created.time() : QTime(0, 0);
    lblAuteur->setText(rs.value(u"CreatedBy"_s).toString());
    const QDateTime modified = rs.value(u"DateModified"_s).toDateTime();
    dtpLastModified->setDate(modified.isValid() ? modified.date() : Clock::today());
    lblModified->setText(rs.value(u"MODIFIEDBY"_s).toString());
    m_loaded = storedValues(rs);
    return true;
}

void RecordEditor::showRecord(std::int32_t recordNumber) {
    Filling filling(m_filling);
    startBlankRecord();
    try {
        Connection connection;
        connection.open(m_session.location(), Connection::Mode::Read);
        loadDomains(connection);
        cboDomain->setCurrentIndex(-1);
        if (recordNumber != 0 && !loadRecord(connection, recordNumber)) {
            startBlankRecord();
            showMessage(u"La fiche numéro "_s + QString::number(recordNumber) +
                            u" n'existe plus. Une nouvelle fiche vide est affichée."_s,
                        u"Fiche introuvable"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        }
    } catch (const AppError& e) {
        showErrorBox(u"InitializeForm"_s, e, ErrorWording::Second);
    }
    cmdSave->setEnabled(false);
}

QString RecordEditor::validationErrors() const {
    QString errors;
    if (cboDomain->currentText().trimmed().isEmpty()) {
        errors += u"Le domaine du terme."_s + kCrLf;
    }
    if (txtEnglish->text().trimmed().isEmpty()) {
        errors += u"La signification du terme en anglais."_s + kCrLf;
    }
    if (txtFrench->text().trimmed().isEmpty()) {
        errors += u"La signification du terme en français."_s + kCrLf;
    }
    return errors;
}

void RecordEditor::writeFields(Recordset& rs) {
    rs.setValue(u"DomainID"_s, cboDomain->currentData().toInt());
    rs.setValue(u"English"_s, txtEnglish->text().trimmed());
    rs.setValue(u"French"_s, txtFrench->text().trimmed());
    rs.setValue(u"AF"_s, txtSource->text().trimmed());
    rs.setValue(u"DEFINITION"_s, storedText(*txtDefinition));
    rs.setValue(u"OBSERVATION"_s, storedText(*txtObservation));
    // The picker shows the date only: the time of day it was created keeps its place.
    rs.setValue(u"Date"_s, QDateTime(dtpDate->date(), m_createdTime));
    {
        Filling filling(m_filling);
        dtpLastModified->setDate(Clock::today());
    }
    rs.setValue(u"DateModified"_s, dtpLastModified->date());
}

void RecordEditor::save() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    const QString errors = validationErrors();
    if (!errors.isEmpty()) {
        showInvalidFields(errors);
        return;
    }
    cmdSave->setEnabled(false);
    try {
        if (store()) {
            emit RecordChanges::instance().recordsChanged();
        } else {
            cmdSave->setEnabled(true); // the typing stays, unsaved
        }
    } catch (const AppError& e) {
        // Nothing was stored: the window keeps its number and the user's typing, unsaved.
        cmdSave->setEnabled(true);
        showErrorBox(u"cmdSave_Click"_s, e, ErrorWording::Second);
    }
}

bool RecordEditor::store() {
    const QString user = m_session.userName();
    Connection connection;
    connection.open(m_session.location(), Connection::Mode::ReadWrite);
    if (lblFiche->text().isEmpty()) {
        insertRecord(connection, user);
        return true;
    }
    return updateRecord(connection, user);
}

void RecordEditor::insertRecord(Connection& connection, const QString& user) {
    Transaction transaction(connection);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 0"_s, connection, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    const QString number = formatRecordNumber(rs.value(u"ID"_s));
    writeFields(rs);
    rs.setValue(u"CreatedBy"_s, user);
    rs.setValue(u"MODIFIEDBY"_s, lblModified->text());
    rs.update();
    m_loaded = readStored(connection, number);
    transaction.commit();
    // The number is shown once the row is really stored.
    lblFiche->setText(number);
    lblAuteur->setText(user);
}

bool RecordEditor::updateRecord(Connection& connection, const QString& user) {
    const QString number = lblFiche->text();
    QString modifiedBy;
    const bool saved = writeUnlessChanged(
        connection, m_loaded, [&] { return readStored(connection, number, &modifiedBy); },
        [&] {
            Recordset rs;
            rs.open(u"SELECT * FROM Files WHERE ID = ?"_s, {number.toLongLong()}, connection,
                    Recordset::Dynamic, Recordset::OptimisticLock);
            writeFields(rs);
            rs.setValue(u"CreatedBy"_s, lblAuteur->text());
            rs.setValue(u"MODIFIEDBY"_s, user);
            rs.update();
            m_loaded = readStored(connection, number);
        },
        [&](const QVariantList&) { return askToReplace(modifiedBy); });
    if (saved) {
        lblModified->setText(user);
    }
    return saved;
}

void RecordEditor::remove() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (lblFiche->text().isEmpty()) {
        showMessage(u"Vous ne pouvez pas supprimer une fiche qui n'est pas encore enregistrée!"_s,
                    u"Suppression d'une fiche"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return;
    }
    if (showMessage(u"Êtes-vous certain de vouloir supprimer cette fiche?"_s,
                    u"Suppression d'une fiche?"_s, Dialogs::Buttons::YesNo,
                    Dialogs::Icon::Information, Dialogs::Answer::Yes) != Dialogs::Answer::Yes) {
        return;
    }
    try {
        executeChange(m_session.location(), u"DELETE * FROM files WHERE ID = ?;"_s,
                      {lblFiche->text().toLongLong()});
    } catch (const AppError& e) {
        showErrorBox(u"cmdDelete_Click"_s, e, ErrorWording::Second);
        return;
    }
    emit RecordChanges::instance().recordsChanged();
    cmdSave->setEnabled(false);
    add();
}

bool RecordEditor::askToDropChanges() {
    if (!cmdSave->isEnabled()) {
        return true;
    }
    return confirmDropChanges();
}

void RecordEditor::add() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (askToDropChanges()) {
        showRecord(0);
    }
}

void RecordEditor::print() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    if (lblFiche->text().isEmpty()) {
        showMessage(u"Cette fiche n'est pas encore enregistrée. Veuillez la sauvegarder avant de "
                    u"l'imprimer."_s,
                    u"Impression d'une fiche"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return;
    }
    PrintFlow::Request request;
    request.ids = {static_cast<std::int32_t>(lblFiche->text().toLongLong())};
    request.embedded = writeFullListing;
    request.opera = writeFullListingForOpera;
    request.naming = PrintFlow::OperaName::ExactCase;
    request.parameter = PrintFlow::OperaParameter::SpoolPath;
    PrintFlow::print(m_session, *this, *m_printDocument, request);
}

void RecordEditor::pageSetup() {
    m_printDocument->pageSetup();
}

void RecordEditor::closeEvent(QCloseEvent* event) {
    if (!askToDropChanges()) {
        event->ignore();
        return;
    }
    event->accept();
}
