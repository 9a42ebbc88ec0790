#include "core/session/Session.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/print/PrintDocument.h"
#include "gui/print/PrintSelectionWindow.h"
#include "gui/search/SearchFixture.h"
#include "gui/search/SearchPanel.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class PrintSelectionWindowTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        for (int i = 0; i < 5; ++i) {
            addRecord(droit, u"law "_s + QString::number(i), u"loi"_s, QDate(2006, 2, 1), u"x"_s);
        }
        window = PrintSelectionWindow::open(session);
        window->criteria().search(); // all ten records
    }
    void TearDown() override {
        delete window;
        SearchTest::TearDown();
    }
    ListView& list() { return window->criteria().list(); }
    void select(std::initializer_list<int> rows) {
        for (int r : rows) {
            list().selectionModel()->select(list().model()->index(r, 0),
                                            QItemSelectionModel::Select |
                                                QItemSelectionModel::Rows);
        }
    }

    PrintSelectionWindow* window = nullptr;
};

TEST_F(PrintSelectionWindowTest, ChosenRowsGiveTheirNumbersInListOrder) {
    EXPECT_EQ(window->windowTitle(), u"Imprimer une fiche"_s);
    EXPECT_EQ(list().columnHeaderText(0), u"No de fiche"_s);
    ASSERT_EQ(list().itemCount(), 10);
    ListFiller::sortByColumn(list(), 1); // record numbers, descending
    select({7, 2, 4});
    EXPECT_EQ(window->selectedIdentifiers(), (IdentifierList{8, 6, 3}));
    window->printShort(); // the scripted print dialog is cancelled
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs->printDialogsShown == 1; }, 2000));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(window->selectedIdentifiers().size(), 3u);
}

TEST_F(PrintSelectionWindowTest, NothingChosenAsksWhetherToPrintEverything) {
    window->printFull(); // No, the default
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Ancun enregistrement n'a été selectionné. Voulez-vous les tous imprimer ?"_s);
    EXPECT_EQ(dialogs->messages[0].defaultButton, Dialogs::Answer::No);
    EXPECT_EQ(dialogs->printDialogsShown, 0);

    QStringList printed;
    dialogs->printHandlers.push_back([&](QPrinter&) {
        printed << window->browser().document().toPlainText();
        return false;
    });
    dialogs->answers = {Dialogs::Answer::Yes};
    window->printFull();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !printed.isEmpty(); }, 2000));
    EXPECT_EQ(printed.first().count(u"Numéro de fiche:"_s), 10);
    EXPECT_TRUE(window->selectedIdentifiers().empty());
}

TEST_F(PrintSelectionWindowTest, SearchesDecideThePrintCommands) {
    auto* full = window->findChild<QAction*>(u"mnuPrintFull"_s);
    EXPECT_TRUE(full->isEnabled());
    auto* box = window->findChild<QComboBox*>(u"cboField"_s);
    box->setCurrentIndex(8);
    window->criteria().fieldChosen();
    window->findChild<QLineEdit*>(u"txtSearch"_s)->setText(u"personne"_s);
    window->criteria().search();
    EXPECT_FALSE(full->isEnabled());
    window->criteria().activate(); // coming back: available again
    EXPECT_TRUE(full->isEnabled());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(PrintSelectionWindow::existing(), nullptr);
}

TEST_F(PrintSelectionWindowTest, ExportsTheChosenRecordsInTheChosenFormat) {
    auto* mnuExport = window->findChild<QAction*>(u"mnuExport"_s);
    ASSERT_NE(mnuExport, nullptr);
    ListFiller::sortByColumn(list(), 1);
    select({0, 1});
    dialogs->saveAnswers.push_back({path(u"fiches"_s), u"CSV, UTF-8 (*.csv)"_s});
    mnuExport->trigger();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"2 fiches exportées dans « "_s + path(u"fiches.csv"_s) + u" »."_s);
    EXPECT_EQ(
        dialogs->saveFiltersOffered,
        QStringList{u"TBX v3, TBX-Basic (*.tbx);;TBX v2, martif (*.tbx);;CSV, UTF-8 (*.csv)"_s});
    const QByteArray csv = readFile(path(u"fiches.csv"_s));
    EXPECT_TRUE(csv.contains("\"10\",") && csv.contains("\"9\","));

    // Nothing chosen: asked first; a folder that is not there is an error, never a success.
    window->clearAllRows();
    dialogs->answers = {Dialogs::Answer::Yes};
    dialogs->saveAnswers.push_back({path(u"absent/fiches.tbx"_s), QString()});
    mnuExport->trigger();
    ASSERT_EQ(dialogs->messages.size(), 3u);
    EXPECT_EQ(dialogs->messages[1].text, u"Aucune fiche n’a été sélectionnée. Voulez-vous "
                                         u"exporter toutes les fiches de la liste ?"_s);
    EXPECT_EQ(dialogs->messages[2].title, u"Procédure: mnuExport_Click"_s);
    EXPECT_EQ(dialogs->messages[2].icon, Dialogs::Icon::Critical);

    dialogs->answers = {Dialogs::Answer::Yes};
    dialogs->saveAnswers.push_back({path(u"toutes.tbx"_s), QString()});
    mnuExport->trigger();
    ASSERT_EQ(dialogs->messages.size(), 5u);
    EXPECT_EQ(dialogs->messages[4].text,
              u"10 fiches exportées dans « "_s + path(u"toutes.tbx"_s) + u" »."_s);
    EXPECT_EQ(readFile(path(u"toutes.tbx"_s)).count("<conceptEntry "), 10);

    // A name typed without its suffix gets one: replacing that other file is asked first.
    writeFile(path(u"fiches.csv"_s), "garder");
    dialogs->answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    dialogs->saveAnswers.push_back({path(u"fiches"_s), u"CSV, UTF-8 (*.csv)"_s});
    mnuExport->trigger();
    ASSERT_EQ(dialogs->messages.size(), 7u);
    EXPECT_EQ(dialogs->messages[6].text, u"Le fichier « "_s + path(u"fiches.csv"_s) +
                                             u" » existe déjà. Voulez-vous le remplacer ?"_s);
    EXPECT_EQ(readFile(path(u"fiches.csv"_s)), "garder");
}
