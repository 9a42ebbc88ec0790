#include "frmPrint.h"

#include "PrintDocument.h"
#include "PrintFlow.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "common/SingleWindow.h"
#include "common/Twips.h"
#include "common/WrappingButton.h"
#include "common/frmProgressBar.h"
#include "lists/Anchors.h"
#include "lists/ListView.h"
#include "lists/SearchCriteria.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int left) {
    auto* b = new WrappingButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(Twips::rect(left, 7320, 1440, 540));
    return b;
}

} // namespace

frmPrint::frmPrint(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(u"frmPrint"_s);
    setWindowTitle(u"Imprimer une fiche"_s);
    gbSearchOpen = true;
    WebBrowser = new PrintDocument(this);
    connect(WebBrowser, &PrintDocument::navigateComplete, this, [this](const QString& address) {
        PrintFlow::OnNavigateComplete(*WebBrowser, address, u"WebBrowser_NavigateComplete2"_s);
    });
    WebBrowser->Navigate(QString());

    // The client area sits below the menu bar.
    auto* client = m_client = new QWidget(this);
    client->setObjectName(u"client"_s);
    auto* menuBar = m_menuBar = new QMenuBar(this);
    QMenu* mnuPrint = menuBar->addMenu(u"Impression"_s);
    mnuPrint->setObjectName(u"mnuPrint"_s);
    mnuPrint->addAction(u"Mise en page"_s, this, &frmPrint::mnuPrintPageSetup_Click)
        ->setObjectName(u"mnuPrintPageSetup"_s);
    mnuPrintShort =
        mnuPrint->addAction(u"Imprimer (court)"_s, this, &frmPrint::mnuPrintShort_Click);
    mnuPrintShort->setObjectName(u"mnuPrintShort"_s);
    mnuPrintFull =
        mnuPrint->addAction(u"Imprimer (complet)"_s, this, &frmPrint::mnuPrintFull_Click);
    mnuPrintFull->setObjectName(u"mnuPrintFull"_s);
    const QSize base(Twips::px(11790), Twips::px(7995));
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, base.width(), menuHeight);
    client->setGeometry(0, menuHeight, base.width(), base.height());
    setMinimumSize(base + QSize(0, menuHeight));

    m_criteria =
        new SearchCriteria(*client, {u"No de fiche"_s, 2760, 360, true,
                                     [this](bool available) { setPrintCommands(available); },
                                     [this] { setPrintCommands(true); }});
    auto* cmdSelectAll = button(client, u"cmdSelectAll"_s, u"TOUT &Sélectionner"_s, 120);
    auto* cmdClearAll = button(client, u"cmdClearAll"_s, u"Effa&cer le TOUT"_s, 1800);
    auto* cmdClose = button(client, u"cmdClose"_s, u"&Quitter"_s, 10200);
    connect(cmdSelectAll, &QPushButton::clicked, this, &frmPrint::cmdSelectAll_Click);
    connect(cmdClearAll, &QPushButton::clicked, this, &frmPrint::cmdClearAll_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    m_anchors = std::make_unique<Anchors>(base);
    m_criteria->anchor(*m_anchors);
    m_anchors->add(cmdSelectAll, Anchors::Left | Anchors::Bottom);
    m_anchors->add(cmdClearAll, Anchors::Left | Anchors::Bottom);
    m_anchors->add(cmdClose, Anchors::Right | Anchors::Bottom);
    resize(Anchors::storedSize(objectName(), minimumSize()));
    m_criteria->Form_Load();
}

frmPrint::~frmPrint() = default;

void frmPrint::resizeEvent(QResizeEvent* event) {
    const int menuHeight = m_menuBar->height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);
    m_client->setGeometry(0, menuHeight, width(), height() - menuHeight);
    m_anchors->fit(m_client->size());
    QWidget::resizeEvent(event);
}

frmPrint* frmPrint::Open() {
    return SingleWindow<frmPrint>::Open();
}

frmPrint* frmPrint::existing() {
    return SingleWindow<frmPrint>::existing();
}

void frmPrint::setPrintCommands(bool available) {
    mnuPrintShort->setEnabled(available);
    mnuPrintFull->setEnabled(available);
}

void frmPrint::cmdSelectAll_Click() {
    m_criteria->list().setFocus();
    m_criteria->list().setAllSelected(true);
}

void frmPrint::cmdClearAll_Click() {
    m_criteria->list().setFocus();
    m_criteria->list().setAllSelected(false);
}

IdentifierList frmPrint::selectedIdentifiers() const {
    IdentifierList ids;
    const ListView& list = m_criteria->list();
    for (int row : list.selectedRows()) {
        ids.push_back(static_cast<std::int32_t>(list.itemText(row, 0).toLongLong()));
    }
    return ids;
}

void frmPrint::print(Listing listing) {
    if (m_criteria->list().selectedRows().empty()) {
        if (MsgBox(u"Ancun enregistrement n'a été selectionné. Voulez-vous les tous imprimer ?"_s,
                   u"Lexivar"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                   Dialogs::Answer::No) != Dialogs::Answer::Yes) {
            return;
        }
        cmdSelectAll_Click();
        QCoreApplication::processEvents();
        print(listing);
        cmdClearAll_Click();
        QCoreApplication::processEvents();
        return;
    }
    PrintFlow::Request request;
    request.ids = selectedIdentifiers();
    request.embedded = listing == Listing::Full ? bPrintFull : bPrintShort;
    request.opera = listing == Listing::Full ? bPrintFullOpera : bPrintShortOpera;
    request.naming = PrintFlow::OperaName::AnyCase;
    request.parameter = PrintFlow::OperaParameter::EscapedFolder;
    PrintFlow::Print(*this, *WebBrowser, request);
}

void frmPrint::mnuPrintFull_Click() {
    print(Listing::Full);
}

void frmPrint::mnuPrintShort_Click() {
    print(Listing::Short);
}

void frmPrint::mnuPrintPageSetup_Click() {
    WebBrowser->ExecWBPageSetup();
}

bool frmPrint::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        m_criteria->windowActivated();
    }
    return QWidget::event(event);
}

void frmPrint::closeEvent(QCloseEvent* event) {
    event->setAccepted(m_criteria->Form_QueryUnload());
    if (event->isAccepted()) {
        Anchors::storeSize(objectName(), size());
    }
}
