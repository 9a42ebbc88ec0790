#include "core/db/Recordset.h"
#include "core/session/Session.h"
#include "gui/records/RecordEditor.h"
#include "gui/records/SaveTurn.h"
#include "gui/search/SearchFixture.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <memory>
#include <random>

using namespace Qt::StringLiterals;

namespace {

const QString kMine = u"Jean-François Côté"_s;
const QString kTheirs = u"Élise Gagnon"_s;

QString question(const QString& who) {
    return u"Cette fiche a été modifiée par "_s + who +
           u" depuis que vous l'avez ouverte. Voulez-vous remplacer ses changements par les "
           u"vôtres?"_s;
}

} // namespace

// Record 3 ("water on the knee", "épanchement de l'eau") open in two editors.
class TwoEditorsTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        mine = std::make_unique<RecordEditor>(session);
        theirs = std::make_unique<RecordEditor>(session);
        mine->showRecord(3);
        theirs->showRecord(3);
    }
    void TearDown() override {
        mine.reset();
        theirs.reset();
        SearchTest::TearDown();
    }
    static void type(RecordEditor& editor, const QString& box, const QString& text) {
        editor.findChild<QLineEdit*>(box)->setText(text);
    }
    void saveAs(RecordEditor& editor, const QString& user) {
        signInAs(user, 1);
        editor.save();
    }
    void change(const QString& statement) {
        Connection c;
        open(c);
        c.execute(statement);
    }
    QString stored(const QString& column) {
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT * FROM Files WHERE ID = 3"_s, c);
        return rs.atEnd() ? u"<absent>"_s : rs.value(column).toString();
    }
    bool unsaved(const RecordEditor& editor) {
        return editor.findChild<QPushButton*>(u"cmdSave"_s)->isEnabled();
    }

    std::unique_ptr<RecordEditor> mine;
    std::unique_ptr<RecordEditor> theirs;
};

enum class Meanwhile {
    Nothing,
    SavedInAnotherEditor,
    ChangedWithPaddedName,
    MovedByAMerge,
    Deleted
};

struct ConflictCase {
    const char* name;
    Meanwhile meanwhile;
    Dialogs::Answer answer;
    QString askedAbout; // empty: no question
    bool written;
    QString english; // stored afterwards
};

// Names the case in test listings instead of its bytes.
void PrintTo(const ConflictCase& c, std::ostream* os) {
    *os << c.name;
}

class EditorConflictTest : public TwoEditorsTest,
                           public ::testing::WithParamInterface<ConflictCase> {
protected:
    void happenMeanwhile(Meanwhile what) {
        switch (what) {
        case Meanwhile::Nothing:
            break;
        case Meanwhile::SavedInAnotherEditor:
            type(*theirs, u"txtEnglish"_s, u"knee effusion"_s);
            saveAs(*theirs, kTheirs);
            break;
        case Meanwhile::ChangedWithPaddedName:
            change(u"UPDATE Files SET OBSERVATION = 'Vérifié.', ModifiedBy = '"_s +
                   Session::fitUserName(kTheirs) + u"' WHERE ID = 3"_s);
            break;
        case Meanwhile::MovedByAMerge:
            change(u"UPDATE Files SET DomainID = "_s + QString::number(droit) + u" WHERE ID = 3"_s);
            break;
        case Meanwhile::Deleted:
            change(u"DELETE FROM Files WHERE ID = 3"_s);
            break;
        }
    }
};

TEST_P(EditorConflictTest, ASaveOverSomeoneElsesChangeAsksFirst) {
    const ConflictCase& c = GetParam();
    happenMeanwhile(c.meanwhile);
    dialogs->messages.clear();
    type(*mine, u"txtFrench"_s, u"hydarthrose"_s);
    dialogs->answers = {c.answer};
    saveAs(*mine, kMine);

    if (!c.askedAbout.isEmpty()) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        const auto& m = dialogs->messages[0];
        EXPECT_EQ(m.text, question(c.askedAbout));
        EXPECT_EQ(m.title, u"Fiche modifiée entre-temps"_s);
        EXPECT_EQ(m.buttons, Dialogs::Buttons::YesNo);
        EXPECT_EQ(m.icon, Dialogs::Icon::Exclamation);
        EXPECT_EQ(m.defaultButton, Dialogs::Answer::No);
    } else if (c.meanwhile == Meanwhile::Deleted) {
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].title, u"Procédure: cmdSave_Click"_s);
        EXPECT_TRUE(dialogs->messages[0].text.contains(u"n'existe plus"_s));
    } else {
        EXPECT_TRUE(dialogs->messages.empty());
    }
    EXPECT_EQ(stored(u"English"_s), c.english);
    EXPECT_EQ(unsaved(*mine), !c.written);
    EXPECT_EQ(mine->findChild<QLineEdit*>(u"txtFrench"_s)->text(), u"hydarthrose"_s);
    if (c.meanwhile == Meanwhile::Deleted) {
        return;
    }
    EXPECT_EQ(stored(u"French"_s), c.written ? u"hydarthrose"_s : u"épanchement de l'eau"_s);
    EXPECT_EQ(stored(u"MODIFIEDBY"_s).trimmed(), c.written                           ? kMine
                                                 : c.meanwhile == Meanwhile::Nothing ? u""_s
                                                                                     : kTheirs);

    // Saving again: after a write the window knows the stored record; after Non it still
    // does not, and asks again.
    dialogs->messages.clear();
    dialogs->answers = {Dialogs::Answer::No};
    saveAs(*mine, kMine);
    EXPECT_EQ(dialogs->messages.size(), c.written ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorConflictTest,
    ::testing::Values(ConflictCase{"NothingChanged", Meanwhile::Nothing, Dialogs::Answer::No, u""_s,
                                   true, u"water on the knee"_s},
                      ConflictCase{"SavedElsewhereNonKeepsTheirs", Meanwhile::SavedInAnotherEditor,
                                   Dialogs::Answer::No, kTheirs, false, u"knee effusion"_s},
                      ConflictCase{"SavedElsewhereOuiWrites", Meanwhile::SavedInAnotherEditor,
                                   Dialogs::Answer::Yes, kTheirs, true, u"water on the knee"_s},
                      ConflictCase{"PaddedNameTrimmed", Meanwhile::ChangedWithPaddedName,
                                   Dialogs::Answer::No, kTheirs, false, u"water on the knee"_s},
                      ConflictCase{"ChangeWithoutAName", Meanwhile::MovedByAMerge,
                                   Dialogs::Answer::Yes, u"un autre usager"_s, true,
                                   u"water on the knee"_s},
                      ConflictCase{"Deleted", Meanwhile::Deleted, Dialogs::Answer::Yes, u""_s,
                                   false, u"<absent>"_s}),
    [](const ::testing::TestParamInfo<ConflictCase>& info) { return info.param.name; });

// A second Lexivar process, driven through its standard input (see SavePeer.cpp).
class PeerProcess {
public:
    ~PeerProcess() {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(kReplyMs)) {
            m_process.kill();
            m_process.waitForFinished(kReplyMs);
        }
    }
    // `folder` stands for its program's folder: its settings and a server's password file.
    bool start(const QString& database, const QString& user, int record, const QString& folder) {
        m_process.setWorkingDirectory(folder);
        m_process.start(QStringLiteral(LEXIVAR_SAVE_PEER),
                        {database, user, QString::number(record)});
        return readLine() == u"ready"_s;
    }
    // Written out at once: QProcess otherwise holds it until the event loop runs.
    void send(const QString& line) {
        m_process.write((line + u'\n').toUtf8());
        m_process.waitForBytesWritten(kReplyMs);
    }
    // The next line it prints; empty when none comes before the deadline.
    QString readLine() {
        const QDeadlineTimer deadline(kReplyMs);
        while (!m_process.canReadLine()) {
            if (deadline.hasExpired() || !m_process.waitForReadyRead(deadline.remainingTime())) {
                return {};
            }
        }
        return QString::fromUtf8(m_process.readLine()).chopped(1);
    }

private:
    // Generous for a loaded machine; a healthy turn takes milliseconds.
    static constexpr int kReplyMs = 20000;
    QProcess m_process;
};

// Record 1 ("disjoncteur") on a plain base: key derivation would cost 40 ms a connection.
class TwoProcessesTest : public OnBothBackends<SearchTest> {
protected:
    void SetUp() override {
        if (!onServer()) {
            dbPassword.clear(); // a server's role always has a password
        }
        SearchTest::SetUp();
        signInAs(kMine, 1);
        mine = std::make_unique<RecordEditor>(session);
        mine->showRecord(1);
        ASSERT_TRUE(peer.start(dbPath, kTheirs, 1, path(u""_s)));
    }
    void TearDown() override {
        mine.reset();
        SearchTest::TearDown();
    }
    // The other process starts saving at once; peerTurn() waits for what it showed.
    void startPeerSave(const QString& text, Dialogs::Answer answer) {
        peer.send(u"save "_s + (answer == Dialogs::Answer::Yes ? u"Y "_s : u"N "_s) + text);
    }
    SaveTurn peerTurn() { return SaveTurn::fromLine(peer.readLine()); }
    QString storedFrench() {
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT French FROM Files WHERE ID = 1"_s, c);
        return rs.value(0).toString();
    }

    std::unique_ptr<RecordEditor> mine;
    PeerProcess peer;
};

INSTANTIATE_ON_BOTH_BACKENDS(TwoProcessesTest);

TEST_P(TwoProcessesTest, SavingInTurnAsksEachTimeAndNonKeepsTheOthersText) {
    std::mt19937 random(20);
    std::bernoulli_distribution keepTheirs(0.25);
    struct Side {
        QString user;
        bool stale = false; // the other side wrote since this side last did
    };
    Side sides[2] = {{kMine}, {kTheirs}};
    QString expected = u"disjoncteur"_s;
    int refusals = 0;
    for (int round = 0; round < 100; ++round) {
        for (int s = 0; s < 2; ++s) {
            const bool no = keepTheirs(random);
            const QString text = (s == 0 ? u"A-"_s : u"B-"_s) + QString::number(round);
            SCOPED_TRACE(text.toStdString());
            const auto answer = no ? Dialogs::Answer::No : Dialogs::Answer::Yes;
            if (s == 1) {
                startPeerSave(text, answer);
            }
            const SaveTurn turn = s == 0 ? saveFrench(*mine, *dialogs, text, answer) : peerTurn();
            ASSERT_EQ(turn.failures, 0);
            ASSERT_EQ(turn.questions, sides[s].stale ? 1 : 0);
            if (turn.questions > 0) {
                EXPECT_EQ(turn.question, question(sides[1 - s].user));
            }
            if (sides[s].stale && no) {
                ++refusals;
            } else {
                expected = text;
                sides[s].stale = false;
                sides[1 - s].stale = true;
            }
            ASSERT_EQ(storedFrench(), expected);
        }
    }
    EXPECT_GT(refusals, 10);
}

// Both reopen the record, then save at once: the first to take the lock writes, the other is
// asked, and its answer alone decides whose text stays.
TEST_P(TwoProcessesTest, SavingAtOnceAsksExactlyTheSecondAndNeverFails) {
    std::mt19937 random(2020);
    std::bernoulli_distribution keepTheirs(0.5);
    const QString users[2] = {kMine, kTheirs};
    int firstWins[2] = {0, 0};
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        peer.send(u"open"_s);
        ASSERT_EQ(peer.readLine(), u"opened"_s);
        mine->showRecord(1);
        const QString texts[2] = {u"A-"_s + QString::number(round),
                                  u"B-"_s + QString::number(round)};
        const bool no[2] = {keepTheirs(random), keepTheirs(random)};
        const auto answer = [&](int side) {
            return no[side] ? Dialogs::Answer::No : Dialogs::Answer::Yes;
        };
        startPeerSave(texts[1], answer(1));
        const SaveTurn ours = saveFrench(*mine, *dialogs, texts[0], answer(0));
        const SaveTurn theirs = peerTurn();
        ASSERT_EQ(ours.failures, 0);
        ASSERT_EQ(theirs.failures, 0);
        ASSERT_EQ(ours.questions + theirs.questions, 1);
        const int asked = ours.questions == 1 ? 0 : 1;
        EXPECT_EQ((asked == 0 ? ours : theirs).question, question(users[1 - asked]));
        ++firstWins[1 - asked];
        ASSERT_EQ(storedFrench(), texts[no[asked] ? 1 - asked : asked]);
    }
    RecordProperty("first_in_this_process", firstWins[0]);
    RecordProperty("first_in_the_other", firstWins[1]);
}
