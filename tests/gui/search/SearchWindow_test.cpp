#include "core/session/Session.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/records/RecordEditor.h"
#include "gui/search/SearchFixture.h"
#include "gui/search/SearchPanel.h"
#include "gui/search/SearchWindow.h"
#include "gui/widgets/ProgressWindow.h"
#include "gui/widgets/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class SearchWindowTest : public OnBothBackends<SearchTest> {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        window = SearchWindow::open(session);
    }
    void TearDown() override {
        ProgressWindow::instance().unload();
        delete window;
        delete RecordEditor::existing();
        SearchTest::TearDown();
    }
    template <typename T = QWidget> T* control(const QString& name) {
        return findControl<T>(window, name);
    }
    void choose(int field) {
        auto* box = control<QComboBox>(u"cboField"_s);
        box->setCurrentIndex(field);
        window->criteria().fieldChosen();
    }
    void search(int field, const QString& text) {
        choose(field);
        control<QLineEdit>(u"txtSearch"_s)->setText(text);
        control<QPushButton>(u"cmdSearch"_s)->click();
    }
    QString shownCount() { return control<QLabel>(u"lblResult"_s)->text(); }
    ListView& list() { return window->criteria().list(); }
    QStringList numbers() {
        QStringList out;
        for (int r = 0; r < list().itemCount(); ++r) {
            out << list().itemText(r, 0);
        }
        return out;
    }
    bool recordCommands() {
        return control(u"cmdDisplay"_s)->isEnabled() && control(u"cmdDelete"_s)->isEnabled();
    }

    QPointer<SearchWindow> window; // deleted on close
};

INSTANTIATE_ON_BOTH_BACKENDS(SearchWindowTest);

TEST_P(SearchWindowTest, LoadsWithIdChosenAndCommandsUnavailable) {
    EXPECT_EQ(SearchWindow::existing(), window);
    EXPECT_EQ(window->windowTitle(), u"Rechercher une fiche"_s);
    EXPECT_EQ(control<QComboBox>(u"cboField"_s)->currentText(), u"ID"_s);
    EXPECT_EQ(control<QComboBox>(u"cboField"_s)->count(), 11);
    EXPECT_FALSE(control(u"cmdSearchResult"_s)->isEnabled());
    EXPECT_FALSE(recordCommands());
    EXPECT_FALSE(control(u"dtpDateStart"_s)->isVisible());
    EXPECT_EQ(control<QDateEdit>(u"dtpDateEnd"_s)->date(), QDate(2006, 6, 15));
    EXPECT_EQ(control<QDateEdit>(u"dtpDateEnd"_s)->displayFormat(), u"yyyy-MM-dd"_s);
    EXPECT_EQ(control(u"lvwResult"_s)->geometry(), QRect(8, 80, 769, 393));
}

TEST_P(SearchWindowTest, SearchesRefinesAndShowsTheCount) {
    search(0, u""_s);
    EXPECT_EQ(shownCount(), u"5"_s);
    EXPECT_TRUE(recordCommands());
    EXPECT_TRUE(control(u"cmdSearchResult"_s)->isEnabled());
    QStringList headers;
    for (int c = 0; c < list().columnHeaderCount(); ++c) {
        headers << list().columnHeaderText(c);
    }
    EXPECT_EQ(headers,
              (QStringList{u"No de Fiche"_s, u"Terme anglais"_s, u"Terme français"_s,
                           u"Source A/F"_s, u"Domaine"_s, u"Date de création"_s, u"Auteur"_s,
                           u"Dernière Date De Modification"_s, u"Modifié Par"_s}));

    choose(2);
    control<QLineEdit>(u"txtSearch"_s)->setText(u"WATER"_s);
    control<QPushButton>(u"cmdSearchResult"_s)->click();
    EXPECT_EQ(numbers(), (QStringList{u"00003"_s, u"00005"_s}));
    choose(1);
    control<QLineEdit>(u"txtSearch"_s)->setText(u"médecine"_s);
    control<QPushButton>(u"cmdSearchResult"_s)->click();
    EXPECT_EQ(shownCount(), u"2"_s);
    EXPECT_EQ(window->criteria().currentQuery(),
              u"SELECT Files.ID, Files.English, Files.French, Files.AF, Domains.name, "
              "Files.Date, Files.CreatedBy, Files.DateModified, Files.ModifiedBy FROM Files, "
              "Domains WHERE files.domainid = domains.id  AND ENGLISH LIKE '%WATER%' AND NAME "
              "LIKE '%médecine%'"_s);

    // An empty refinement says so and keeps the count.
    control<QLineEdit>(u"txtSearch"_s)->clear();
    control<QPushButton>(u"cmdSearchResult"_s)->click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, u"Vous devez entrer un critère de recherche!"_s);
    EXPECT_EQ(dialogs->messages[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(shownCount(), u"2"_s);

    search(3, u"l'eau"_s);
    EXPECT_EQ(numbers(), QStringList{u"00003"_s});
    search(0, u"4"_s);
    EXPECT_EQ(list().itemText(0, 1), u"bill"_s);
    search(8, u"personne"_s);
    EXPECT_EQ(shownCount(), u"0"_s);
    EXPECT_FALSE(recordCommands());
    EXPECT_EQ(list().columnHeaderCount(), 0);
}

TEST_P(SearchWindowTest, DateRangesCompareWholeDays) {
    choose(7);
    EXPECT_FALSE(control(u"txtSearch"_s)->isVisible());
    EXPECT_TRUE(control(u"dtpDateStart"_s)->isVisible());
    control<QDateEdit>(u"dtpDateStart"_s)->setDate(QDate(2005, 1, 1));
    control<QDateEdit>(u"dtpDateEnd"_s)->setDate(QDate(2005, 12, 31));
    control<QPushButton>(u"cmdSearch"_s)->click();
    EXPECT_EQ(numbers(), (QStringList{u"00002"_s, u"00003"_s, u"00004"_s}));
    // The modification dates carry a time of day: the last day's record falls outside.
    choose(9);
    control<QPushButton>(u"cmdSearchResult"_s)->click();
    EXPECT_EQ(numbers(), (QStringList{u"00002"_s, u"00003"_s}));
    choose(8);
    EXPECT_TRUE(control(u"txtSearch"_s)->isVisible());
    EXPECT_TRUE(control<QLineEdit>(u"txtSearch"_s)->text().isEmpty());
}

TEST_P(SearchWindowTest, KeysAreFilteredForTheIdField) {
    auto* text = control<QLineEdit>(u"txtSearch"_s);
    QTest::keyClicks(text, u"4a-2"_s);
    EXPECT_EQ(text->text(), u"42"_s);
    choose(2);
    text->clear();
    QTest::keyClicks(text, u"a-b"_s);
    EXPECT_EQ(text->text(), u"a-b"_s);
    QTest::keyClick(text, Qt::Key_Return); // Enter searches
    EXPECT_EQ(shownCount(), u"0"_s);
    // Choosing the field that was shown when the choice got the focus keeps the text.
    window->criteria().fieldFocused();
    window->criteria().fieldChosen();
    EXPECT_EQ(text->text(), u"a-b"_s);
}

TEST_P(SearchWindowTest, ActivationRefillsWithTheLastQueryOnly) {
    window->criteria().activate(); // no query yet: nothing
    EXPECT_EQ(list().itemCount(), 0);
    search(2, u"water"_s);
    addRecord(droit, u"water law"_s, u"droit de l'eau"_s, QDate(2006, 3, 3), u"x"_s);
    ProgressWindow::instance().justRan(); // the search's own run is over
    window->criteria().activate();
    EXPECT_EQ(list().itemCount(), 3);
    EXPECT_EQ(shownCount(), u"2"_s); // the label keeps its value
}

TEST_P(SearchWindowTest, OnlyAReturnFromElsewhereRefills) {
    search(0, u""_s);
    list().selectRow(1);
    const QString chosen = list().itemText(1, 0);
    addRecord(droit, u"water law"_s, u"droit de l'eau"_s, QDate(2006, 3, 3), u"x"_s);
    const auto activate = [](QWidget* w) {
        w->show();
        QApplication::setActiveWindow(w);
        return QTest::qWaitForWindowActive(w);
    };

    // The window's own box closes and hands the focus back: the list stays as the user left it.
    auto* box = new QMessageBox(QMessageBox::Question, u"Lexivar"_s, u"?"_s,
                                QMessageBox::Yes | QMessageBox::No, window);
    ASSERT_TRUE(activate(box));
    delete box;
    ASSERT_TRUE(activate(window));
    EXPECT_EQ(list().itemCount(), 5);
    EXPECT_EQ(list().selectedRows(), std::vector<int>{1});

    // Coming back from another window refills, the chosen record still chosen.
    QWidget elsewhere(window, Qt::Window); // another window of the program
    ASSERT_TRUE(activate(&elsewhere));
    activate(window); // the refill's progress window takes the focus for a while
    EXPECT_TRUE(QTest::qWaitFor([&] { return list().itemCount() == 6; }, 5000));
    ASSERT_EQ(list().selectedRows().size(), 1u);
    EXPECT_EQ(list().itemText(list().selectedRow(), 0), chosen);
}

TEST_P(SearchWindowTest, EditorChangesReachTheListAtOnceKeepingSortAndChoice) {
    signInAs(u"Administrateur"_s, 0);
    search(0, u""_s);
    ListFiller::sortByColumn(list(), 3); // French terms, descending
    const auto row = [this](const QString& number) {
        return static_cast<int>(numbers().indexOf(number));
    };
    list().selectRow(row(u"00004"_s));
    RecordEditor* editor = RecordEditor::open(session);
    editor->showRecord(3);
    findControl<QLineEdit>(editor, u"txtFrench"_s)->setText(u"zèbre"_s);
    editor->save();
    EXPECT_EQ(numbers().front(), u"00003"_s); // still sorted by French, descending
    EXPECT_EQ(list().itemText(0, 2), u"zèbre"_s);
    EXPECT_EQ(list().selectedRows(), std::vector<int>{row(u"00004"_s)});

    editor->showRecord(4);
    dialogs->answers.push_back(Dialogs::Answer::Yes);
    editor->remove();
    EXPECT_EQ(row(u"00004"_s), -1);
    EXPECT_EQ(list().itemCount(), 4);
    EXPECT_TRUE(list().selectedRows().empty());
    editor->close();
    delete editor;
}

TEST_P(SearchWindowTest, LabelsStayWholeBesideTheirControls) {
    choose(7);
    for (const auto& [labelName, pickerName] :
         {std::pair{u"Label3"_s, u"dtpDateStart"_s}, std::pair{u"Label5"_s, u"dtpDateEnd"_s}}) {
        auto* label = control<QLabel>(labelName);
        const QRect picker = control(pickerName)->geometry();
        EXPECT_GE(label->width(), label->sizeHint().width()) << labelName;
        EXPECT_LE(label->geometry().right(), picker.left()) << labelName;
        EXPECT_NEAR(label->geometry().center().y(), picker.center().y(), 1) << labelName;
    }
}

TEST_P(SearchWindowTest, GrowsWithTheWindowAndRemembersItsSize) {
    const QRect list = control(u"lvwResult"_s)->geometry();
    const QRect close = control(u"cmdClose"_s)->geometry();
    const QSize base = window->size();
    window->resize(base + QSize(200, 100));
    EXPECT_EQ(control(u"lvwResult"_s)->geometry(), list.adjusted(0, 0, 200, 100));
    EXPECT_EQ(control(u"cmdClose"_s)->geometry(), close.translated(200, 100));
    EXPECT_EQ(control(u"cmdSearch"_s)->x(), Twips::px(10200) + 200);
    window->resize(base - QSize(100, 100)); // never smaller than designed
    EXPECT_EQ(window->size(), base);
    window->resize(base + QSize(200, 100));
    window->close();
    delete window;
    window = new SearchWindow(session);
    EXPECT_EQ(window->size(), base + QSize(200, 100));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_P(SearchWindowTest, DisplayOpensTheChosenRecordInTheEditor) {
    const auto shownRecord = [] {
        RecordEditor* editor = RecordEditor::existing();
        return editor ? findControl<QLabel>(editor, u"lblFiche"_s)->text() : QString();
    };
    window->rowDoubleClicked(); // unavailable before a search
    EXPECT_EQ(RecordEditor::existing(), nullptr);
    search(0, u""_s);
    list().selectRow(3);
    window->displayChosen();
    EXPECT_EQ(shownRecord(), u"4"_s);
    delete RecordEditor::existing();
    window->rowDoubleClicked();
    EXPECT_EQ(shownRecord(), u"4"_s);
}

TEST_P(SearchWindowTest, DeletionFollowsTheOwnerRule) {
    search(0, u""_s);
    // Nobody signed in: the sign-in comes first, and cancelling it ends the deletion.
    list().selectRow(0);
    window->remove();
    EXPECT_EQ(dialogs->modalShown, QStringList{u"frmLogin"_s});
    EXPECT_TRUE(dialogs->messages.empty());

    signInAs(u"Jean-François Côté"_s, 2);
    window->remove(); // record 1 is Élise's
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, u"Accès refusé!"_s);

    list().selectRow(1); // his own
    dialogs->answers = {Dialogs::Answer::No};
    window->remove();
    EXPECT_EQ(dialogs->messages.back().text,
              u"Êtes-vous certain de vouloir supprimer cette fiche?"_s);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 5);

    list().selectRow(1);
    window->remove(); // Yes by default
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 4);
    EXPECT_EQ(numbers(), (QStringList{u"00001"_s, u"00003"_s, u"00004"_s, u"00005"_s}));
    EXPECT_EQ(shownCount(), u"4"_s);
    list().selectRow(3); // no author: anyone may delete it
    window->remove();
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 3);
}

TEST_P(SearchWindowTest, DeletingTheLastRecordEmptiesTheList) {
    signInAs(u"Administrateur"_s, 0);
    search(0, u"4"_s);
    list().selectRow(0);
    window->remove();
    EXPECT_EQ(list().columnHeaderCount(), 0);
    EXPECT_EQ(shownCount(), u"0"_s);
    EXPECT_FALSE(recordCommands());
    // The same record again, deleted elsewhere meanwhile: one error box, then the refill.
    search(0, u""_s);
    Connection c;
    open(c);
    c.execute(u"DELETE * FROM files WHERE ID = 1;"_s);
    c.close();
    list().selectRow(0);
    window->remove();
    EXPECT_EQ(dialogs->messages.back().title, u"Procédure: cmdDelete_Click"_s);
    EXPECT_EQ(shownCount(), u"3"_s);
}

TEST_P(SearchWindowTest, ClosingIsRefusedDuringAFill) {
    QWidget other;
    ProgressWindow::instance().start(1, 10, u""_s, &other);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(SearchWindow::existing(), window);
    ProgressWindow::instance().unload();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(SearchWindow::existing(), nullptr);
    EXPECT_TRUE(window->criteria().currentQuery().isEmpty());
}
