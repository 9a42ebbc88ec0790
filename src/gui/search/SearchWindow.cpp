#include "gui/search/SearchWindow.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/session/Session.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/lists/ListView.h"
#include "gui/records/RecordEditor.h"
#include "gui/search/SearchPanel.h"
#include "gui/startup/SignInDialog.h"
#include "gui/widgets/Anchors.h"
#include "gui/widgets/ProgressWindow.h"
#include "gui/widgets/SingleWindow.h"
#include "gui/widgets/Twips.h"

#include <QCloseEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAuthorColumn = 6;

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int left) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(Twips::rect(left, 7200, 1200, 540));
    return b;
}

} // namespace

SearchWindow::SearchWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(u"frmSearch"_s);
    setWindowTitle(u"Rechercher une fiche"_s);
    const QSize base(Twips::px(11790), Twips::px(7815));
    setMinimumSize(base);
    m_criteria =
        new SearchPanel(*this, m_session,
                        {u"No de Fiche"_s, 2640, 480, false,
                         [this](bool available) { setRecordCommands(available); }, nullptr});
    cmdDisplay = button(this, u"cmdDisplay"_s, u"&Afficher"_s, 120);
    cmdDelete = button(this, u"cmdDelete"_s, u"&Supprimer"_s, 5280);
    cmdClose = button(this, u"cmdClose"_s, u"&Quitter"_s, 10440);
    setRecordCommands(false);
    connect(cmdDisplay, &QPushButton::clicked, this, &SearchWindow::displayChosen);
    connect(cmdDelete, &QPushButton::clicked, this, &SearchWindow::remove);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_criteria->list(), &ListView::doubleClicked, this, &SearchWindow::rowDoubleClicked);
    m_anchors = std::make_unique<Anchors>(base);
    m_criteria->anchor(*m_anchors);
    m_anchors->add(cmdDisplay, Anchors::Left | Anchors::Bottom);
    m_anchors->add(cmdDelete, Anchors::CentreX | Anchors::Bottom);
    m_anchors->add(cmdClose, Anchors::Right | Anchors::Bottom);
    resize(Anchors::storedSize(objectName(), base));
    m_criteria->load();
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::resizeEvent(QResizeEvent* event) {
    m_anchors->fit(size());
    QWidget::resizeEvent(event);
}

SearchWindow* SearchWindow::open(Session& session) {
    return SingleWindow<SearchWindow>::open(session);
}

SearchWindow* SearchWindow::existing() {
    return SingleWindow<SearchWindow>::existing();
}

void SearchWindow::setRecordCommands(bool available) {
    cmdDisplay->setEnabled(available);
    cmdDelete->setEnabled(available);
}

int SearchWindow::chosenRow() {
    const int row = m_criteria->list().selectedRow();
    if (row < 0) {
        showMessage(u"Veuillez d'abord choisir une fiche dans la liste."_s, u"Attention!"_s,
                    Dialogs::Buttons::Ok, Dialogs::Icon::Information);
    }
    return row;
}

void SearchWindow::displayChosen() {
    const int row = chosenRow();
    if (row < 0) {
        return;
    }
    RecordEditor::open(m_session)->showRecord(m_criteria->list().itemText(row, 0).toInt());
}

void SearchWindow::rowDoubleClicked() {
    if (cmdDisplay->isEnabled()) {
        displayChosen();
    }
}

void SearchWindow::remove() {
    if (!SignInDialog::ensureSignedIn(m_session, this)) {
        return;
    }
    const int row = chosenRow();
    if (row < 0) {
        return;
    }
    const ListView& list = m_criteria->list();
    if (!mayChange(list.itemText(row, kAuthorColumn))) {
        return;
    }
    if (showMessage(u"Êtes-vous certain de vouloir supprimer cette fiche?"_s,
                    u"Suppression d'une fiche?"_s, Dialogs::Buttons::YesNo,
                    Dialogs::Icon::Information, Dialogs::Answer::Yes) != Dialogs::Answer::Yes) {
        return;
    }
    const qlonglong id = list.itemText(row, 0).toLongLong();
    try {
        Connection connection;
        connection.open(m_session.location(), Connection::Mode::ReadWrite);
        Recordset rs;
        rs.open(u"Select * from files WHERE ID = ?"_s, {id}, connection, Recordset::Dynamic,
                Recordset::OptimisticLock);
        // The owner rule holds for the stored author, whatever the list shows.
        if (!rs.atEnd() && !mayChange(rs.value(u"CreatedBy"_s).toString())) {
            return;
        }
        rs.remove();
    } catch (const AppError& e) {
        showErrorBox(u"cmdDelete_Click"_s, e);
    }
    m_criteria->fillAgain();
}

bool SearchWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        m_criteria->windowActivated();
    }
    return QWidget::event(event);
}

void SearchWindow::closeEvent(QCloseEvent* event) {
    event->setAccepted(m_criteria->mayClose());
    if (event->isAccepted()) {
        Anchors::storeSize(objectName(), size());
    }
}

bool SearchWindow::mayChange(const QString& owner) {
    if (m_session.mayChange(owner)) {
        return true;
    }
    showMessage(u"Vous devez être le propriétaire de cette fiche ou avoir des droits de "
                u"gestionnaire/administrateur pour effectuer cette tâche."_s,
                u"Accès refusé!"_s, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return false;
}
