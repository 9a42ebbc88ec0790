#include "core/files/KeyValueStore.h"
#include "core/files/ProgramFolder.h"
#include "core/files/RuntimeFolder.h"
#include "core/reports/ReportFixture.h"
#include "core/session/Session.h"
#include "gui/TestSupport.h"
#include "gui/domains/DomainWindow.h"
#include "gui/print/BrowserLaunch.h"
#include "gui/print/PrintDocument.h"
#include "gui/print/PrintFlow.h"
#include "gui/print/PrintSelectionWindow.h"
#include "gui/print/ShellLauncher.h"
#include "gui/records/RecordEditor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPageLayout>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A shell that answers as told and remembers what it was asked.
class ScriptedShell : public ShellLauncher {
public:
    explicit ScriptedShell(int answer) : m_answer(answer) {}
    int execute(const QString& verb, const QString& file, const QString& parameters, const QString&,
                int showCommand) override {
        calls << QStringList{verb, file, parameters, QString::number(showCommand)};
        return m_answer;
    }
    void openWith(const QString& file) override { openedWith << file; }

    QList<QStringList> calls;
    QStringList openedWith;

private:
    int m_answer;
};

} // namespace

class PrintFlowTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        setKeyValueStorePath(path(u"registry.ini"_s));
        signInAs(u"essai"_s, 0);
        addRecord(u"circuit breaker"_s, u"disjoncteur"_s);
        addRecord(u"ground fault"_s, u"défaut à la terre"_s);
        addRecord(u"water table"_s, u"nappe phréatique"_s);
    }
    void TearDown() override {
        setKeyValueStorePath({});
        ShellLauncher::install(nullptr);
        ReportTest::TearDown();
    }
    void registerOpera(const QString& program) {
        writeFile(path(u"registry.ini"_s),
                  ("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App "
                   "Paths\\Opera.exe]\r\n@=" +
                   program.toLatin1() + "\r\n"));
    }
    // A stand-in browser that writes the argument it was given into a file.
    QString standIn(const QString& name) {
        const QString program = path(name);
        writeFile(program,
                  "#!/bin/sh\nprintf '%s' \"$1\" > \"" + path(u"argument.txt"_s).toUtf8() + "\"\n");
        QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return program;
    }
    QString argumentReceived() {
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(path(u"argument.txt"_s)) && t.elapsed() < 10000) {
            QTest::qWait(50);
        }
        QTest::qWait(100);
        return QString::fromUtf8(readFile(path(u"argument.txt"_s)));
    }
    PrintFlow::Request fullListing(PrintFlow::OperaName naming, PrintFlow::OperaParameter p) {
        return {{1, 2, 3}, writeFullListing, writeFullListingForOpera, naming, p};
    }

    QWidget window;
    PrintDocument document{&window};
};

TEST_F(PrintFlowTest, AReportIsPrintedOnceLoadedThenDeleted) {
    QSignalSpy completed(&document, &PrintDocument::loaded);
    PrintFlow::printOnLoad(document, u"WebBrowser"_s);
    document.navigate(QString());   // at window load
    EXPECT_EQ(completed.size(), 0); // never before the event loop runs
    ASSERT_TRUE(completed.wait(2000));
    EXPECT_EQ(completed.takeFirst().at(0).toString(), u"http:///"_s);
    EXPECT_EQ(dialogs->printDialogsShown, 0);

    // Page setup: landscape, kept for the later print.
    dialogs->pageSetupHandlers.push_back([](QPrinter& p) {
        p.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    document.pageSetup();
    const QString pdf = path(u"fiche.pdf"_s);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    dialogs->printHandlers.push_back([&](QPrinter& p) {
        orientation = p.pageLayout().orientation();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    });
    PrintFlow::print(
        session, window, document,
        fullListing(PrintFlow::OperaName::ExactCase, PrintFlow::OperaParameter::SpoolPath));
    // The flow lets events run after loading, so the completion may already have come.
    ASSERT_TRUE(!completed.isEmpty() || completed.wait(2000));
    EXPECT_EQ(dialogs->printDialogsShown, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    EXPECT_TRUE(readFile(pdf).startsWith("%PDF"));
    EXPECT_GT(readFile(pdf).size(), 1000);
    EXPECT_FALSE(QFile::exists(PrintFlow::spoolPath()));
    EXPECT_TRUE(document.document().toPlainText().contains(u"nappe phréatique"_s));
    // The documentation shows this page.
    if (const QString keep = qEnvironmentVariable("LEXIVAR_KEEP_PDF"); !keep.isEmpty()) {
        QFile::remove(keep);
        QFile::copy(pdf, keep);
    }
}

TEST_F(PrintFlowTest, TheAlternativeBrowserReceivesTheSpoolFileFromTheRuntimeFolder) {
    // An installed program's folder is not the user's to write in.
    const QString program = path(u"programme"_s);
    QDir().mkpath(program);
    ProgramFolder::set(program);
    RuntimeFolder::set(path(u"mon dossier"_s));
    QDir().mkpath(RuntimeFolder::path());
    const QString opera = standIn(u"Opera.exe"_s);
    registerOpera(opera);
    EXPECT_EQ(PrintFlow::operaPath(PrintFlow::OperaName::ExactCase), opera);
    PrintFlow::print(
        session, window, document,
        fullListing(PrintFlow::OperaName::AnyCase, PrintFlow::OperaParameter::EscapedFolder));
    EXPECT_EQ(argumentReceived(), path(u"mon%20dossier/spool.html"_s));
    EXPECT_TRUE(readFile(PrintFlow::spoolPath()).contains("page-break-inside: avoid;"));
    EXPECT_EQ(dialogs->printDialogsShown, 0);
    EXPECT_TRUE(QDir(program).isEmpty());
}

TEST_F(PrintFlowTest, TheBrowserMustBeNamedOperaExe) {
    registerOpera(standIn(u"opera.exe"_s));
    EXPECT_EQ(PrintFlow::operaPath(PrintFlow::OperaName::ExactCase), u""_s);
    EXPECT_NE(PrintFlow::operaPath(PrintFlow::OperaName::AnyCase), u""_s);
    registerOpera(path(u"absent/Opera.exe"_s));
    EXPECT_EQ(PrintFlow::operaPath(PrintFlow::OperaName::AnyCase), u""_s);
}

TEST_F(PrintFlowTest, ShellFailuresAreReportedWithTheirNumbers) {
    std::int32_t handle = 0;
    EXPECT_FALSE(shellExecute(path(u"absent/Opera.exe"_s), 10, u"x"_s, u""_s, 1, handle));
    EXPECT_EQ(handle, kDesktopWindow);
    EXPECT_FALSE(shellExecute(path(u"Opera.exe"_s), 10, u"x"_s, u""_s, 1, handle));
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].title, u"Procédure: bShellExecute"_s);
    EXPECT_EQ(dialogs->messages[0].text, u"Une erreur #76 s\u2019est produite:\r\n\r\nThe "
                                         "specified path was not found."_s);
    EXPECT_TRUE(dialogs->messages[1].text.startsWith(u"Une erreur #53 "_s));

    auto shell = std::make_unique<ScriptedShell>(31);
    ScriptedShell* s = shell.get();
    ShellLauncher::install(std::move(shell));
    EXPECT_FALSE(shellExecute(u" rapport.odt "_s, 10, u""_s, u" "_s, 2, handle));
    EXPECT_EQ(s->calls.last(), (QStringList{u"print"_s, u"rapport.odt"_s, u""_s, u"1"_s}));
    EXPECT_EQ(s->openedWith, QStringList{u" rapport.odt "_s});
    EXPECT_EQ(dialogs->messages.back().text,
              u"Une erreur #-2147220425 s\u2019est produite:\r\n\r\nThere is no application "
              "associated with the given file name extension."_s);

    ShellLauncher::install(std::make_unique<ScriptedShell>(42));
    EXPECT_TRUE(shellExecute(u"C:/Opera.EXE"_s, 10, u"spool.html"_s, u""_s, 1, handle));
    auto* ok = static_cast<ScriptedShell*>(&ShellLauncher::get());
    EXPECT_EQ(ok->calls.last().at(3), u"0"_s); // a program is started hidden
    ShellLauncher::install(std::make_unique<ScriptedShell>(17));
    EXPECT_FALSE(shellExecute(u"x"_s, 1, u""_s, u""_s, 1, handle));
    EXPECT_EQ(dialogs->messages.back().text,
              u"Une erreur #-2147220439 s\u2019est produite:\r\n\r\nUne erreur  occurred occurred "
              "whilst trying to open or print the selected file."_s);
}

TEST_F(PrintFlowTest, WithoutAPrivateFolderNothingIsPrintedOrWrittenElsewhere) {
    const QString before = RuntimeFolder::path();
    RuntimeFolder::setNone();
    QStringList written;
    const PrintFlow::Generator writer = [&](const DatabaseLocation&, const IdentifierList&,
                                            const QString& spool, const QString&) {
        written << spool;
        return true;
    };
    PrintFlow::print(session, window, document, {{1, 2, 3}, writer, writer});
    RuntimeFolder::set(before);
    EXPECT_TRUE(written.isEmpty()) << written.join(u' ').toStdString();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->printDialogsShown, 0);
}

TEST_F(PrintFlowTest, AReportTheBrowserNeverReceivedIsRemoved) {
    registerOpera(standIn(u"Opera.exe"_s));
    for (const int failure : {2, 3, 5, 31}) {
        ShellLauncher::install(std::make_unique<ScriptedShell>(failure));
        PrintFlow::print(
            session, window, document,
            fullListing(PrintFlow::OperaName::ExactCase, PrintFlow::OperaParameter::SpoolPath));
        EXPECT_FALSE(dialogs->messages.empty()) << failure;
        EXPECT_FALSE(QFile::exists(PrintFlow::spoolPath())) << failure;
    }
}

// Each printing window prints what its document loaded, and a spool file it cannot remove is
// reported under the window's own procedure name.
TEST_F(PrintFlowTest, EachWindowReportsItsCompletionUnderItsOwnName) {
    struct Case {
        const char* window;
        std::function<QWidget*()> make;
        std::function<PrintDocument&(QWidget*)> document;
        QString procedure;
    };
    const std::vector<Case> cases = {
        {"RecordEditor", [this] { return new RecordEditor(session); },
         [](QWidget* w) -> PrintDocument& { return static_cast<RecordEditor*>(w)->browser(); },
         u"WebBrowser_NavigateComplete2"_s},
        {"PrintSelectionWindow", [this] { return new PrintSelectionWindow(session); },
         [](QWidget* w) -> PrintDocument& {
             return static_cast<PrintSelectionWindow*>(w)->browser();
         },
         u"WebBrowser_NavigateComplete2"_s},
        {"DomainWindow", [this] { return new DomainWindow(session); },
         [](QWidget* w) -> PrintDocument& { return static_cast<DomainWindow*>(w)->browser(); },
         u"WebBrowser1_NavigateComplete2"_s},
    };
    // A folder that holds a file cannot be removed as a file, whoever runs the test.
    const QString undeletable = path(u"spool-folder"_s);
    QDir().mkpath(undeletable);
    writeFile(undeletable + u"/inside.txt"_s, "x");
    for (const Case& c : cases) {
        std::unique_ptr<QWidget> w(c.make());
        PrintDocument& document = c.document(w.get());
        QSignalSpy completed(&document, &PrintDocument::loaded);
        ASSERT_TRUE(completed.wait(2000)) << c.window; // the empty page, printed never
        const int shown = dialogs->printDialogsShown;
        EXPECT_TRUE(dialogs->messages.empty()) << c.window;

        emit document.loaded(undeletable);
        EXPECT_EQ(dialogs->printDialogsShown, shown + 1) << c.window;
        ASSERT_EQ(dialogs->messages.size(), 1u) << c.window;
        EXPECT_EQ(dialogs->messages[0].title, u"Procédure: "_s + c.procedure) << c.window;
        EXPECT_EQ(
            dialogs->messages[0].text,
            u"Une erreur  #75 s'est produite:\r\n\r\nImpossible de supprimer le fichier « "_s +
                undeletable + u" »."_s)
            << c.window;
        dialogs->messages.clear();
    }
}
