#include "frmSearch.h"

#include "Anchors.h"
#include "ListView.h"
#include "SearchCriteria.h"
#include "app/Session.h"
#include "app/basUserLevel.h"
#include "app/frmLogin.h"
#include "common/AppError.h"
#include "common/Dialogs.h"
#include "common/ErrorBox.h"
#include "common/SingleWindow.h"
#include "common/Twips.h"
#include "common/frmProgressBar.h"
#include "records/RecordEditor.h"
#include "storage/Connection.h"
#include "storage/Recordset.h"

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

frmSearch::frmSearch(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(u"frmSearch"_s);
    setWindowTitle(u"Rechercher une fiche"_s);
    const QSize base(Twips::px(11790), Twips::px(7815));
    setMinimumSize(base);
    gbSearchOpen = true;
    m_criteria = new SearchCriteria(
        *this, {u"No de Fiche"_s, 2640, 480, false,
                [this](bool available) { setRecordCommands(available); }, nullptr});
    cmdDisplay = button(this, u"cmdDisplay"_s, u"&Afficher"_s, 120);
    cmdDelete = button(this, u"cmdDelete"_s, u"&Supprimer"_s, 5280);
    cmdClose = button(this, u"cmdClose"_s, u"&Quitter"_s, 10440);
    setRecordCommands(false);
    connect(cmdDisplay, &QPushButton::clicked, this, &frmSearch::cmdDisplay_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmSearch::cmdDelete_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_criteria->list(), &ListView::doubleClicked, this, &frmSearch::lvwResult_DblClick);
    m_anchors = std::make_unique<Anchors>(base);
    m_criteria->anchor(*m_anchors);
    m_anchors->add(cmdDisplay, Anchors::Left | Anchors::Bottom);
    m_anchors->add(cmdDelete, Anchors::CentreX | Anchors::Bottom);
    m_anchors->add(cmdClose, Anchors::Right | Anchors::Bottom);
    resize(Anchors::storedSize(objectName(), base));
    m_criteria->Form_Load();
}

frmSearch::~frmSearch() = default;

void frmSearch::resizeEvent(QResizeEvent* event) {
    m_anchors->fit(size());
    QWidget::resizeEvent(event);
}

frmSearch* frmSearch::Open() {
    return SingleWindow<frmSearch>::Open();
}

frmSearch* frmSearch::existing() {
    return SingleWindow<frmSearch>::existing();
}

void frmSearch::setRecordCommands(bool available) {
    cmdDisplay->setEnabled(available);
    cmdDelete->setEnabled(available);
}

int frmSearch::chosenRow() {
    const int row = m_criteria->list().selectedRow();
    if (row < 0) {
        MsgBox(u"Veuillez d'abord choisir une fiche dans la liste."_s, u"Attention!"_s,
               Dialogs::Buttons::Ok, Dialogs::Icon::Information);
    }
    return row;
}

void frmSearch::cmdDisplay_Click() {
    const int row = chosenRow();
    if (row < 0) {
        return;
    }
    RecordEditor::Show(m_criteria->list().itemText(row, 0).toInt());
}

void frmSearch::lvwResult_DblClick() {
    if (cmdDisplay->isEnabled()) {
        cmdDisplay_Click();
    }
}

void frmSearch::cmdDelete_Click() {
    if (!frmLogin::EnsureSignedIn(this)) {
        return;
    }
    const int row = chosenRow();
    if (row < 0) {
        return;
    }
    const ListView& list = m_criteria->list();
    if (!bUserLevelProprio(list.itemText(row, kAuthorColumn))) {
        return;
    }
    if (MsgBox(u"Êtes-vous certain de vouloir supprimer cette fiche?"_s,
               u"Suppression d'une fiche?"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Information,
               Dialogs::Answer::Yes) != Dialogs::Answer::Yes) {
        return;
    }
    const qlonglong id = list.itemText(row, 0).toLongLong();
    try {
        ReloadDatabasePassword();
        Connection connection;
        connection.Open(sReadWriteConnection());
        Recordset rs;
        rs.Open(u"Select * from files WHERE ID = ?"_s, {id}, connection, Recordset::adOpenDynamic,
                Recordset::adLockOptimistic);
        // The owner rule holds for the stored author, whatever the list shows.
        if (!rs.isEOF() && !bUserLevelProprio(rs.value(u"CreatedBy"_s).toString())) {
            return;
        }
        rs.Delete();
    } catch (const AppError& e) {
        ShowErrorBox(u"cmdDelete_Click"_s, e);
    }
    m_criteria->fillAgain();
}

bool frmSearch::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        m_criteria->windowActivated();
    }
    return QWidget::event(event);
}

void frmSearch::closeEvent(QCloseEvent* event) {
    event->setAccepted(m_criteria->Form_QueryUnload());
    if (event->isAccepted()) {
        Anchors::storeSize(objectName(), size());
    }
}
