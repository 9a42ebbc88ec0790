#include "core/db/Recordset.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/domains/DomainWindow.h"
#include "gui/lists/ListView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

class DomainWindowFixture : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        signInAs(u"Administrateur"_s, 0);
        window = DomainWindow::open(session);
    }
    void TearDown() override {
        delete window;
        SessionTest::TearDown();
    }
    template <typename T = QWidget> T* control(const QString& name) {
        return findControl<T>(window, name);
    }
    void type(const QString& box, const QString& text) { control<QLineEdit>(box)->setText(text); }
    void choose(const QString& box, const QString& name) {
        auto* list = control<QComboBox>(box);
        list->setCurrentIndex(list->findText(name));
    }
    void showTab(int tab) { control<QTabWidget>(u"sstChoix"_s)->setCurrentIndex(tab); }
    QStringList names() {
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT Name FROM Domains ORDER BY ID"_s, c);
        QStringList out;
        for (; !rs.atEnd(); rs.moveNext()) {
            out << rs.value(0).toString();
        }
        return out;
    }
    QString lastText() const { return dialogs->messages.back().text; }
    QString lastTitle() const { return dialogs->messages.back().title; }
    void addRecords(qlonglong domain, int n) {
        for (int i = 0; i < n; ++i) {
            addFile(domain, u"term"_s, u"terme"_s);
        }
    }

    DomainWindow* window = nullptr;
};

class DomainWindowTest : public OnBothBackends<DomainWindowFixture> {};

INSTANTIATE_ON_BOTH_BACKENDS(DomainWindowTest);

TEST_P(DomainWindowTest, AddingTrimsAndRefusesDuplicatesInAnyCase) {
    EXPECT_EQ(window->windowTitle(), u"Gestion des domaines"_s);
    EXPECT_EQ(control<QTabWidget>(u"sstChoix"_s)->tabText(3), u"F&usion"_s);
    type(u"txtAdd"_s, u"  Génie civil "_s);
    QTest::keyClick(control(u"txtAdd"_s), Qt::Key_Return); // Enter adds
    EXPECT_EQ(lastTitle(), u"Ajout du domaine réussi!"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtAdd"_s)->text(), u""_s);
    type(u"txtAdd"_s, u"GÉNIE CIVIL"_s);
    window->add();
    EXPECT_EQ(lastText(), u"Désolé, ce domaine existe déjà."_s);
    EXPECT_EQ(lastTitle(), u"Création du domaine impossible"_s);
    for (int i = 0; i < 2; ++i) {
        type(u"txtAdd"_s, u"l'eau \"potable\" | usée"_s);
        window->add();
    }
    EXPECT_EQ(lastTitle(), u"Création du domaine impossible"_s);
    type(u"txtAdd"_s, u"   "_s);
    window->add();
    EXPECT_EQ(lastText(), u"Les champs suivants sont invalides:\r\nLe nom du domaine.\r\n"_s);
    EXPECT_EQ(names(), (QStringList{u"Génie civil"_s, u"l'eau \"potable\" | usée"_s}));
}

TEST_P(DomainWindowTest, RenamingAcceptsOwnNameButNotAnothers) {
    addDomain(u"Droit"_s);
    addDomain(u"Chimie"_s);
    showTab(DomainWindow::Edit);
    window->rename();
    EXPECT_EQ(lastText(), u"Les champs suivants sont invalides:\r\nLe domaine à modifier.\r\nLe "
                          "nouveau nom du domaine.\r\n"_s);
    choose(u"cboEdit"_s, u"Droit"_s);
    window->editChoiceChanged();
    EXPECT_EQ(control<QLineEdit>(u"txtEdit"_s)->text(), u"Droit"_s);
    type(u"txtEdit"_s, u"chimie "_s);
    window->rename();
    EXPECT_EQ(lastTitle(), u"Modification du domaine impossible"_s);
    choose(u"cboEdit"_s, u"Droit"_s);
    type(u"txtEdit"_s, u" DROIT "_s);
    window->rename();
    EXPECT_EQ(lastTitle(), u"Modification du domaine réussie"_s);
    EXPECT_EQ(names(), (QStringList{u"DROIT"_s, u"Chimie"_s}));
    EXPECT_EQ(control<QComboBox>(u"cboEdit"_s)->currentIndex(), -1);
}

TEST_P(DomainWindowTest, DeletingADomainTakesItsRecordsAfterAskingWithTheirCount) {
    const qlonglong droit = addDomain(u"Droit"_s);
    const qlonglong chimie = addDomain(u"Chimie"_s);
    addRecords(droit, 3);
    addRecords(chimie, 1);
    showTab(DomainWindow::Delete);
    choose(u"cboDelete"_s, u"Droit"_s);
    dialogs->answers = {Dialogs::Answer::No};
    window->remove();
    EXPECT_EQ(lastText(), u"Êtes-vous certain de vouloir supprimer ce domaine? Cela supprimera "
                          "aussi 3 fiche(s) pour lesquelles ce domaine s'applique."_s);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 4);
    choose(u"cboDelete"_s, u"Droit"_s);
    window->remove();
    EXPECT_EQ(lastTitle(), u"Suppression réussie!"_s);
    EXPECT_EQ(names(), QStringList{u"Chimie"_s});
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 1);
    EXPECT_EQ(control<QComboBox>(u"cboDelete"_s)->count(), 1);
}

TEST_P(DomainWindowTest, MergingMovesEveryRecordAtOnce) {
    const qlonglong first = addDomain(u"Électricité"_s);
    const qlonglong second = addDomain(u"Électrotechnique"_s);
    addDomain(u"Chimie"_s);
    addRecords(first, 5);
    addRecords(second, 2);
    showTab(DomainWindow::Merge);
    const struct {
        QString one;
        QString two;
        QString name;
        QString lines;
    } refused[] = {
        {u""_s, u"Chimie"_s, u"x"_s, u"Le premier domaine (No.1).\r\n"_s},
        {u"Chimie"_s, u"Chimie"_s, u"x"_s, u"Deux domaines différents.\r\n"_s},
        {u"Électricité"_s, u"Chimie"_s, u"  "_s, u"Le nom du nouveau domaine.\r\n"_s},
    };
    for (const auto& c : refused) {
        choose(u"cboMerge1"_s, c.one);
        choose(u"cboMerge2"_s, c.two);
        type(u"txtMerge"_s, c.name);
        window->merge();
        EXPECT_EQ(lastText(), u"Les champs suivants sont invalides:\r\n"_s + c.lines);
        EXPECT_EQ(lastTitle(), u"Erreur"_s);
    }
    EXPECT_EQ(names().size(), 3);
    choose(u"cboMerge1"_s, u"Électricité"_s);
    choose(u"cboMerge2"_s, u"Électrotechnique"_s);
    window->takeFirstName();
    EXPECT_EQ(control<QLineEdit>(u"txtMerge"_s)->text(), u"Électricité"_s);
    window->merge();
    EXPECT_EQ(lastText(), u"La fusion a été effectuée avec succès,"_s);
    EXPECT_EQ(names(), (QStringList{u"Électricité"_s, u"Chimie"_s}));
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE DomainID = "_s + QString::number(first)), 7);
    EXPECT_EQ(control<QComboBox>(u"cboMerge1"_s)->currentIndex(), -1);
}

TEST_P(DomainWindowTest, TheListTabIsFilledOncePerOpening) {
    addDomain(u"Droit"_s);
    showTab(DomainWindow::List);
    auto* list = control<ListView>(u"lvwDomains"_s);
    EXPECT_EQ(list->columnHeaderText(0), u"Domaine"_s);
    EXPECT_EQ(list->itemCount(), 1);
    showTab(DomainWindow::Add);
    type(u"txtAdd"_s, u"Chimie"_s);
    window->add();
    showTab(DomainWindow::List);
    EXPECT_EQ(list->itemCount(), 1);
    window->printDomainList(); // nothing selected: nothing happens
    EXPECT_EQ(dialogs->printDialogsShown, 0);
    delete window;
    window = DomainWindow::open(session);
    showTab(DomainWindow::List);
    EXPECT_EQ(window->findChild<ListView*>(u"lvwDomains"_s)->itemCount(), 2);
    window->findChild<ListView*>(u"lvwDomains"_s)->selectRow(0);
    window->printDomainList(); // the scripted print dialog is cancelled
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs->printDialogsShown == 1; }, 2000));
}

enum class DomainMeanwhile { Nothing, Renamed, Deleted };

struct RenameCase {
    const char* name;
    DomainMeanwhile meanwhile;
    Dialogs::Answer answer;
    bool asked;
    QStringList namesAfter;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const RenameCase& c, std::ostream* os) {
    *os << c.name;
}

// A second domain window, as another manager has it, renames or deletes "Droit" after this
// window listed it.
class RenameConflictTest : public DomainWindowFixture,
                           public ::testing::WithParamInterface<RenameCase> {
protected:
    void SetUp() override {
        DomainWindowFixture::SetUp();
        addDomain(u"Droit"_s);
        addDomain(u"Chimie"_s);
        other = std::make_unique<DomainWindow>(session);
    }
    void TearDown() override {
        other.reset();
        DomainWindowFixture::TearDown();
    }
    void happenMeanwhile(DomainMeanwhile what) {
        auto* list = other->findChild<QComboBox*>(what == DomainMeanwhile::Deleted ? u"cboDelete"_s
                                                                                   : u"cboEdit"_s);
        other->fillDomains(*list);
        list->setCurrentIndex(list->findText(u"Droit"_s));
        switch (what) {
        case DomainMeanwhile::Nothing:
            break;
        case DomainMeanwhile::Renamed:
            other->findChild<QLineEdit*>(u"txtEdit"_s)->setText(u"Droit pénal"_s);
            other->rename();
            break;
        case DomainMeanwhile::Deleted:
            dialogs->answers = {Dialogs::Answer::Yes};
            other->remove();
            break;
        }
    }

    std::unique_ptr<DomainWindow> other;
};

TEST_P(RenameConflictTest, RenamingOverAnotherRenameAsksFirst) {
    const RenameCase& c = GetParam();
    showTab(DomainWindow::Edit);
    choose(u"cboEdit"_s, u"Droit"_s);
    type(u"txtEdit"_s, u"Droit civil"_s);
    happenMeanwhile(c.meanwhile);
    dialogs->messages.clear();
    dialogs->answers = {c.answer};
    window->rename();

    const bool written = c.namesAfter.contains(u"Droit civil"_s);
    if (c.asked) {
        ASSERT_EQ(dialogs->messages.size(), written ? 2u : 1u);
        const auto& m = dialogs->messages[0];
        EXPECT_EQ(m.text, u"Ce domaine a été renommé « Droit pénal » depuis que vous l'avez "
                          "choisi. Voulez-vous remplacer ce nom par le vôtre?"_s);
        EXPECT_EQ(m.title, u"Domaine modifié entre-temps"_s);
        EXPECT_EQ(m.buttons, Dialogs::Buttons::YesNo);
        EXPECT_EQ(m.icon, Dialogs::Icon::Exclamation);
        EXPECT_EQ(m.defaultButton, Dialogs::Answer::No);
    } else if (c.meanwhile == DomainMeanwhile::Deleted) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(lastTitle(), u"Procédure: cmdEdit_Click"_s);
        EXPECT_TRUE(lastText().contains(u"« Droit » n'existe plus"_s));
    }
    if (written) {
        EXPECT_EQ(lastTitle(), u"Modification du domaine réussie"_s);
    }
    EXPECT_EQ(names(), c.namesAfter);
    EXPECT_EQ(control<QLineEdit>(u"txtEdit"_s)->text(), written ? u""_s : u"Droit civil"_s);
}

INSTANTIATE_TEST_SUITE_P(Cases, RenameConflictTest,
                         ::testing::Values(RenameCase{"NothingChanged",
                                                      DomainMeanwhile::Nothing,
                                                      Dialogs::Answer::No,
                                                      false,
                                                      {u"Droit civil"_s, u"Chimie"_s}},
                                           RenameCase{"RenamedNonKeepsTheirName",
                                                      DomainMeanwhile::Renamed,
                                                      Dialogs::Answer::No,
                                                      true,
                                                      {u"Droit pénal"_s, u"Chimie"_s}},
                                           RenameCase{"RenamedOuiWrites",
                                                      DomainMeanwhile::Renamed,
                                                      Dialogs::Answer::Yes,
                                                      true,
                                                      {u"Droit civil"_s, u"Chimie"_s}},
                                           RenameCase{"Deleted",
                                                      DomainMeanwhile::Deleted,
                                                      Dialogs::Answer::Yes,
                                                      false,
                                                      {u"Chimie"_s}}),
                         [](const ::testing::TestParamInfo<RenameCase>& info) {
                             return info.param.name;
                         });
