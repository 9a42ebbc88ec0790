// Typed or pasted text never becomes part of a statement or of a report's markup, and report
// files are never written through a planted link.
#include "core/AppError.h"
#include "core/db/DatabaseFixture.h"
#include "core/db/Recordset.h"
#include "core/reports/ReportWriter.h"
#include "core/search/SearchStatement.h"
#include "core/session/Session.h"
#include "gui/accounts/AccountWindow.h"
#include "gui/domains/DomainWindow.h"
#include "gui/lists/ListView.h"
#include "gui/print/PrintDocument.h"
#include "gui/print/PrintFlow.h"
#include "gui/print/PrintSelectionWindow.h"
#include "gui/search/SearchFixture.h"
#include "gui/search/SearchPanel.h"
#include "gui/search/SearchWindow.h"
#include "gui/startup/SignInDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUnion =
    u"0 UNION SELECT ID, Login, Pass, Name, Name, 0, Name, 0, Type FROM Passwords --"_s;

// Texts that have broken statements elsewhere.
QStringList hostileTexts() {
    return {u"l'eau"_s,
            u"'); DROP TABLE Files; --"_s,
            u"a\"b"_s,
            u"[c]"_s,
            u"*star"_s,
            u"#hash#"_s,
            u"back\\slash"_s,
            u"-- dash"_s,
            u"semi;colon"_s,
            u"\U0001F50C prise"_s,
            u"\u05DE\u05D9\u05DD \u0645\u0627\u0621"_s,
            QString(10000, u'\u00E9')};
}

} // namespace

class HostileCriteriaTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        for (const QString& text : hostileTexts()) {
            hostileIds.push_back(addRecord(droit, text, u"terme"_s, QDate(2006, 2, 1), u"x"_s));
        }
    }
    void TearDown() override {
        delete search;
        delete print;
        SearchTest::TearDown();
    }
    // Both windows carry the criteria; the tests run on each.
    std::vector<std::pair<QWidget*, SearchPanel*>> windows() {
        search = new SearchWindow(session);
        print = PrintSelectionWindow::open(session);
        return {{search, &search->criteria()}, {print, &print->criteria()}};
    }
    static QLineEdit* text(QWidget* w) { return w->findChild<QLineEdit*>(u"txtSearch"_s); }
    static void choose(QWidget* w, SearchPanel& c, int field) {
        w->findChild<QComboBox*>(u"cboField"_s)->setCurrentIndex(field);
        c.fieldChosen();
    }
    static QStringList column(SearchPanel& c, int col) {
        QStringList out;
        for (int r = 0; r < c.list().itemCount(); ++r) {
            out << c.list().itemText(r, col);
        }
        return out;
    }
    static void pressKey(QWidget* w, Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
    }

    std::vector<qlonglong> hostileIds;
    SearchWindow* search = nullptr;
    PrintSelectionWindow* print = nullptr;
};

TEST_F(HostileCriteriaTest, TheIdFieldTakesDigitsOnlyWhateverTheWay) {
    for (auto [window, criteria] : windows()) {
        QLineEdit* box = text(window);
        choose(window, *criteria, SearchStatement::kIdField);
        // Typed: only the digits stay.
        QTest::keyClicks(box, u"1 OR 1=1"_s);
        EXPECT_EQ(box->text(), u"111"_s);
        // Pasted: a text that is not a number is refused whole.
        for (const QString& pasted : {kUnion, u"4 OR 1=1"_s, u"\u8030"_s, u"\U0001F50C"_s}) {
            box->clear();
            QApplication::clipboard()->setText(pasted);
            box->paste();
            EXPECT_EQ(box->text(), u""_s) << pasted;
        }
        QApplication::clipboard()->setText(u"00004"_s);
        box->paste();
        EXPECT_EQ(box->text(), u"00004"_s);
        // Delete and Backspace edit as in any field, whatever text the key carries.
        box->setCursorPosition(0);
        pressKey(box, Qt::Key_Delete, u"\u007F"_s);
        EXPECT_EQ(box->text(), u"0004"_s);
        box->end(false);
        pressKey(box, Qt::Key_Backspace, u"\b"_s);
        EXPECT_EQ(box->text(), u"000"_s);
        // Any other field takes any text again.
        choose(window, *criteria, 2);
        box->clear();
        QApplication::clipboard()->setText(kUnion);
        box->paste();
        EXPECT_EQ(box->text(), kUnion);
    }
}

TEST_F(HostileCriteriaTest, UndoBringsNoTextIntoTheIdField) {
    for (auto [window, criteria] : windows()) {
        auto* field = window->findChild<QComboBox*>(u"cboField"_s);
        for (const QString& typed : {u"1 OR 1=1"_s, u"x"_s}) {
            choose(window, *criteria, 2);
            text(window)->clear();
            QTest::keyClicks(text(window), typed);
            criteria->fieldFocused();
            field->setCurrentIndex(SearchStatement::kIdField);
            criteria->fieldChosen();
            text(window)->undo();
            EXPECT_EQ(text(window)->text(), u""_s) << typed;
        }
    }
}

TEST_F(HostileCriteriaTest, AnIdThatIsNoNumberIsRefusedWithoutAQuery) {
    for (auto [window, criteria] : windows()) {
        QLineEdit* box = text(window);
        choose(window, *criteria, SearchStatement::kIdField);
        box->setText(u"4"_s);
        criteria->search();
        ASSERT_EQ(column(*criteria, 0), QStringList{u"00004"_s});
        const QString query = criteria->currentQuery();
        // Whatever reaches the field around its filter (an input method, a program).
        for (const QString& hostile : {kUnion, u"1 OR 1=1"_s, u"4 OR 1=1"_s, u"-4"_s}) {
            dialogs->messages.clear();
            box->setText(hostile);
            criteria->search();
            criteria->searchWithinResults();
            ASSERT_EQ(dialogs->messages.size(), 2u) << hostile;
            EXPECT_EQ(dialogs->messages[0].text,
                      u"Le numéro de fiche doit être un nombre entier!"_s);
            EXPECT_EQ(dialogs->messages[0].title, u"Attention!"_s);
            EXPECT_EQ(criteria->currentQuery(), query);
            EXPECT_EQ(column(*criteria, 0), QStringList{u"00004"_s});
        }
    }
}

TEST_F(HostileCriteriaTest, TextCriteriaFindExactlyTheRecordsHoldingThem) {
    for (auto [window, criteria] : windows()) {
        for (size_t i = 0; i < hostileIds.size(); ++i) {
            const QString hostile = hostileTexts()[static_cast<qsizetype>(i)];
            choose(window, *criteria, 2);
            text(window)->setText(hostile);
            criteria->search();
            EXPECT_TRUE(dialogs->messages.empty()) << hostile << dialogs->messages[0].text;
            EXPECT_EQ(column(*criteria, 0),
                      QStringList{QString::number(hostileIds[i]).rightJustified(5, u'0')})
                << hostile.left(40);
            // The same text as a refinement narrows nothing further.
            criteria->searchWithinResults();
            EXPECT_EQ(criteria->list().itemCount(), 1) << hostile.left(40);
        }
        // "%" and "_" stay the pattern characters they always were.
        text(window)->setText(u"%"_s);
        criteria->search();
        EXPECT_EQ(criteria->list().itemCount(), 5 + static_cast<int>(hostileIds.size()));
        // Control characters, NUL among them, are left out: no engine error.
        text(window)->setText(u"wa\u0000t\u0001er"_s);
        criteria->search();
        EXPECT_TRUE(dialogs->messages.empty());
        EXPECT_EQ(column(*criteria, 0), (QStringList{u"00003"_s, u"00005"_s}));
        // No field ever lists an account.
        for (int field = 1; field <= 10; ++field) {
            if (field == SearchStatement::kDateCreated || field == SearchStatement::kDateModified) {
                continue;
            }
            choose(window, *criteria, field);
            text(window)->setText(u"' UNION SELECT ID, Login, Pass, Name, Name, 0, Name, 0, Type "
                                  u"FROM Passwords --"_s);
            criteria->search();
            EXPECT_EQ(criteria->list().itemCount(), 0) << field;
        }
        EXPECT_TRUE(dialogs->messages.empty());
    }
}

TEST_F(HostileCriteriaTest, TheOwnerRuleHoldsForTheStoredAuthor) {
    signInAs(u"Jean-François Côté"_s, 2);
    auto [window, criteria] = windows().front();
    choose(window, *criteria, 0);
    text(window)->setText(u""_s);
    criteria->search();
    // Record 1 is Élise's, though the list says otherwise (edited elsewhere meanwhile).
    criteria->list().selectRow(0);
    Connection c;
    open(c);
    c.execute(u"UPDATE Files SET CreatedBy = 'Élise Gagnon' WHERE ID = 2"_s);
    c.close();
    criteria->list().selectRow(1); // listed as his
    search->remove();
    EXPECT_EQ(dialogs->messages.back().title, u"Accès refusé!"_s);
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE ID = 2"_s), 1);
}

TEST_F(SessionTest, HostileNamesAndAccountsAreStoredAndComparedAsTyped) {
    signInAs(u"Administrateur"_s, 0);
    auto* domains = DomainWindow::open(session);
    int n = 0;
    for (const QString& hostile : hostileTexts()) {
        const QString domain = hostile.left(50);
        // A domain of that name, then the same name again: refused as a duplicate.
        for (int twice = 0; twice < 2; ++twice) {
            domains->findChild<QLineEdit*>(u"txtAdd"_s)->setText(domain);
            domains->add();
        }
        EXPECT_EQ(dialogs->messages.back().text, u"Désolé, ce domaine existe déjà."_s) << domain;
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT Name FROM Domains WHERE Name = ?"_s, {domain}, c);
        EXPECT_EQ(rs.recordCount(), 1) << domain;

        // An account made of it (as much as the fields hold) signs in with exactly that text.
        std::unique_ptr<AccountWindow> accounts(AccountWindow::open(session));
        accounts->setAttribute(Qt::WA_DeleteOnClose, false);
        auto* name = accounts->findChild<QLineEdit*>(u"txtName"_s);
        auto* loginBox = accounts->findChild<QLineEdit*>(u"txtLogin"_s);
        auto* passBox = accounts->findChild<QLineEdit*>(u"txtPassword"_s);
        name->setText(hostile);
        loginBox->setText(QString::number(++n) + hostile.trimmed());
        passBox->setText(u"'--"_s + hostile.trimmed());
        const QString login = loginBox->text().trimmed();
        const QString pass = passBox->text().trimmed();
        accounts->save();
        rs.open(u"SELECT Pass FROM Passwords WHERE Login = ?"_s, {login}, c);
        ASSERT_EQ(rs.recordCount(), 1) << login;
        EXPECT_EQ(rs.value(0).toString(), pass);
        session.signOut();
        for (const QString& wrong : {pass.chopped(1), u"' OR ''='"_s}) {
            SignInDialog refused(session);
            refused.findChild<QLineEdit*>(u"txtLogin"_s)->setText(login);
            refused.findChild<QLineEdit*>(u"txtPassword"_s)->setText(wrong);
            refused.signIn();
            EXPECT_FALSE(session.isSignedIn()) << login;
        }
        SignInDialog window(session);
        window.findChild<QLineEdit*>(u"txtLogin"_s)->setText(login);
        window.findChild<QLineEdit*>(u"txtPassword"_s)->setText(pass);
        window.signIn();
        EXPECT_TRUE(session.isSignedIn()) << login;
        signInAs(u"Administrateur"_s, 0);
    }
    delete domains;
}

class ReportEscapingTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        const qlonglong domain = addDomain(u"a<b & c"_s);
        id = static_cast<std::int32_t>(
            insertRow(u"Files"_s, {{u"English"_s, u"tension < 50 V"_s},
                                   {u"French"_s, u"<b>gras</b> & <script>x()</script>"_s},
                                   {u"AF"_s, u"a<b & c>d"_s},
                                   {u"DomainID"_s, domain},
                                   {u"DEFINITION"_s, u"<DD>déf</DD>"_s},
                                   {u"CreatedBy"_s, u"<i>moi</i>"_s},
                                   {u"Date"_s, QDate(2006, 1, 1)}}));
    }
    QString spool() const { return path(u"spool.html"_s); }

    std::int32_t id = 0;
};

TEST_F(ReportEscapingTest, RecordTextPrintsLiterally) {
    using Generator =
        bool (*)(const DatabaseLocation&, const IdentifierList&, const QString&, const QString&);
    const struct {
        Generator generate;
        QStringList shown;
    } cases[] = {
        {writeFullListing,
         {u"tension < 50 V"_s, u"<b>gras</b> & <script>x()</script>"_s, u"a<b & c>d"_s,
          u"<DD>déf</DD>"_s, u"<i>moi</i>"_s, u"a<b & c"_s}},
        {writeFullListingForOpera, {u"tension < 50 V"_s, u"<b>gras</b>"_s}},
        {writeShortListing,
         {u"tension < 50 V"_s, u"<b>gras</b> & <script>x()</script>"_s, u"<i>moi</i>"_s,
          u"a<b & c"_s}},
        {writeShortListingForOpera, {u"tension < 50 V"_s}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.generate(location(dbPassword), {id}, spool(), u"<u>essai</u>, 10:00:00"_s));
        const QByteArray html = readFile(spool());
        EXPECT_TRUE(html.contains("tension &lt; 50 V"));
        EXPECT_TRUE(html.contains("&lt;b&gt;gras&lt;/b&gt; &amp; &lt;script&gt;"));
        EXPECT_FALSE(html.contains("<script>"));
        EXPECT_FALSE(html.contains("<b>"));
        EXPECT_FALSE(html.contains("<u>"));
        QWidget window;
        PrintDocument document(&window);
        document.navigate(spool());
        const QString printed = document.document().toPlainText();
        for (const QString& text : c.shown) {
            EXPECT_TRUE(printed.contains(text)) << text << "\n" << printed;
        }
    }
}

TEST_F(ReportEscapingTest, TheSpoolIsOwnerOnlyAndNeverWrittenThroughALink) {
    const QString target = path(u"secret.txt"_s);
    writeFile(target, "ne pas toucher");
    ASSERT_TRUE(QFile::link(target, spool()));
    ASSERT_TRUE(writeShortListing(location(dbPassword), {id}, spool(), u"essai"_s));
    EXPECT_EQ(readFile(target), "ne pas toucher");
    EXPECT_FALSE(QFileInfo(spool()).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(spool()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    // A report that fails is removed, and no temporary file is ever left.
    QWidget window;
    PrintDocument document(&window);
    const PrintFlow::Request failing{{id},
                                     [](const DatabaseLocation& where, const IdentifierList& ids,
                                        const QString& file, const QString& title) {
                                         writeShortListing(where, ids, file, title);
                                         return false;
                                     },
                                     {}};
    PrintFlow::print(session, window, document, failing);
    EXPECT_FALSE(QFile::exists(PrintFlow::spoolPath()));
    const QStringList left =
        QDir(path(QString())).entryList({u".spool-*"_s}, QDir::Hidden | QDir::Files);
    EXPECT_TRUE(left.isEmpty()) << left.join(u' ');
}
