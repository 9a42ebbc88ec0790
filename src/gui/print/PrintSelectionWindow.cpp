#include "gui/print/PrintSelectionWindow.h"

#include "gui/dialogs/Dialogs.h"
#include "gui/interchange/TermExchange.h"
#include "gui/lists/ListView.h"
#include "gui/print/PrintDocument.h"
#include "gui/print/PrintFlow.h"
#include "gui/search/SearchPanel.h"
#include "gui/widgets/Anchors.h"
#include "gui/widgets/ProgressWindow.h"
#include "gui/widgets/SingleWindow.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WrappingButton.h"

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

PrintSelectionWindow::PrintSelectionWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session) {
    setObjectName(u"frmPrint"_s);
    setWindowTitle(u"Imprimer une fiche"_s);
    m_printDocument = new PrintDocument(this);
    PrintFlow::printOnLoad(*m_printDocument, u"WebBrowser_NavigateComplete2"_s);
    m_printDocument->navigate(QString());

    // The client area sits below the menu bar.
    auto* client = m_client = new QWidget(this);
    client->setObjectName(u"client"_s);
    auto* menuBar = m_menuBar = new QMenuBar(this);
    QMenu* mnuPrint = menuBar->addMenu(u"Impression"_s);
    mnuPrint->setObjectName(u"mnuPrint"_s);
    mnuPrint->addAction(u"Mise en page"_s, this, &PrintSelectionWindow::pageSetup)
        ->setObjectName(u"mnuPrintPageSetup"_s);
    mnuPrintShort =
        mnuPrint->addAction(u"Imprimer (court)"_s, this, &PrintSelectionWindow::printShort);
    mnuPrintShort->setObjectName(u"mnuPrintShort"_s);
    mnuPrintFull =
        mnuPrint->addAction(u"Imprimer (complet)"_s, this, &PrintSelectionWindow::printFull);
    mnuPrintFull->setObjectName(u"mnuPrintFull"_s);
    mnuPrint->addSeparator();
    mnuExport = mnuPrint->addAction(u"Exporter…"_s, this, &PrintSelectionWindow::exportRecords);
    mnuExport->setObjectName(u"mnuExport"_s);
    const QSize base(Twips::px(11790), Twips::px(7995));
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, base.width(), menuHeight);
    client->setGeometry(0, menuHeight, base.width(), base.height());
    setMinimumSize(base + QSize(0, menuHeight));

    m_criteria = new SearchPanel(*client, m_session,
                                 {u"No de fiche"_s, 2760, 360, true,
                                  [this](bool available) { setPrintCommands(available); },
                                  [this] { setPrintCommands(true); }});
    auto* cmdSelectAll = button(client, u"cmdSelectAll"_s, u"TOUT &Sélectionner"_s, 120);
    auto* cmdClearAll = button(client, u"cmdClearAll"_s, u"Effa&cer le TOUT"_s, 1800);
    auto* cmdClose = button(client, u"cmdClose"_s, u"&Quitter"_s, 10200);
    connect(cmdSelectAll, &QPushButton::clicked, this, &PrintSelectionWindow::selectAllRows);
    connect(cmdClearAll, &QPushButton::clicked, this, &PrintSelectionWindow::clearAllRows);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    m_anchors = std::make_unique<Anchors>(base);
    m_criteria->anchor(*m_anchors);
    m_anchors->add(cmdSelectAll, Anchors::Left | Anchors::Bottom);
    m_anchors->add(cmdClearAll, Anchors::Left | Anchors::Bottom);
    m_anchors->add(cmdClose, Anchors::Right | Anchors::Bottom);
    resize(Anchors::storedSize(objectName(), minimumSize()));
    m_criteria->load();
}

PrintSelectionWindow::~PrintSelectionWindow() = default;

void PrintSelectionWindow::resizeEvent(QResizeEvent* event) {
    const int menuHeight = m_menuBar->height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);
    m_client->setGeometry(0, menuHeight, width(), height() - menuHeight);
    m_anchors->fit(m_client->size());
    QWidget::resizeEvent(event);
}

PrintSelectionWindow* PrintSelectionWindow::open(Session& session) {
    return SingleWindow<PrintSelectionWindow>::open(session);
}

PrintSelectionWindow* PrintSelectionWindow::existing() {
    return SingleWindow<PrintSelectionWindow>::existing();
}

void PrintSelectionWindow::setPrintCommands(bool available) {
    mnuPrintShort->setEnabled(available);
    mnuPrintFull->setEnabled(available);
    mnuExport->setEnabled(available);
}

void PrintSelectionWindow::selectAllRows() {
    m_criteria->list().setFocus();
    m_criteria->list().setAllSelected(true);
}

void PrintSelectionWindow::clearAllRows() {
    m_criteria->list().setFocus();
    m_criteria->list().setAllSelected(false);
}

IdentifierList PrintSelectionWindow::selectedIdentifiers() const {
    IdentifierList ids;
    const ListView& list = m_criteria->list();
    for (int row : list.selectedRows()) {
        ids.push_back(static_cast<std::int32_t>(list.itemText(row, 0).toLongLong()));
    }
    return ids;
}

void PrintSelectionWindow::print(Listing listing) {
    if (m_criteria->list().selectedRows().empty()) {
        if (showMessage(
                u"Ancun enregistrement n'a été selectionné. Voulez-vous les tous imprimer ?"_s,
                u"Lexivar"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                Dialogs::Answer::No) != Dialogs::Answer::Yes) {
            return;
        }
        selectAllRows();
        QCoreApplication::processEvents();
        print(listing);
        clearAllRows();
        QCoreApplication::processEvents();
        return;
    }
    PrintFlow::Request request;
    request.ids = selectedIdentifiers();
    request.embedded = listing == Listing::Full ? writeFullListing : writeShortListing;
    request.opera = listing == Listing::Full ? writeFullListingForOpera : writeShortListingForOpera;
    request.naming = PrintFlow::OperaName::AnyCase;
    request.parameter = PrintFlow::OperaParameter::EscapedFolder;
    PrintFlow::print(m_session, *this, *m_printDocument, request);
}

void PrintSelectionWindow::exportRecords() {
    IdentifierList ids = selectedIdentifiers();
    if (ids.empty()) {
        if (showMessage(u"Aucune fiche n’a été sélectionnée. Voulez-vous exporter toutes les "
                        u"fiches de la liste ?"_s,
                        u"Lexivar"_s, Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                        Dialogs::Answer::No) != Dialogs::Answer::Yes) {
            return;
        }
        const ListView& list = m_criteria->list();
        for (int row = 0; row < list.itemCount(); ++row) {
            ids.push_back(static_cast<std::int32_t>(list.itemText(row, 0).toLongLong()));
        }
    }
    TermExchange::exportRecords(m_session, this, ids);
}

void PrintSelectionWindow::printFull() {
    print(Listing::Full);
}

void PrintSelectionWindow::printShort() {
    print(Listing::Short);
}

void PrintSelectionWindow::pageSetup() {
    m_printDocument->pageSetup();
}

bool PrintSelectionWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        m_criteria->windowActivated();
    }
    return QWidget::event(event);
}

void PrintSelectionWindow::closeEvent(QCloseEvent* event) {
    event->setAccepted(m_criteria->mayClose());
    if (event->isAccepted()) {
        Anchors::storeSize(objectName(), size());
    }
}
