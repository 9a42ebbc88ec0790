// Two program instances saving new records into one base at the same time: every record either
// one reports saved is there afterwards, and nothing else is.
#include "core/db/Recordset.h"
#include "core/session/SessionFixture.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRecordsEach = 500;
// Generous for a loaded machine.
constexpr int kDeadlineMs = 240000;
const QString kBusy = QStringLiteral(
    "La base de données est utilisée par un autre usager. Réessayez dans un instant.");

} // namespace

class TwoWritersTest : public OnBothBackends<SessionTest> {
protected:
    void SetUp() override {
        // A plain file: key derivation would cost each of the thousand saves 40 ms. A server's
        // role always has a password.
        if (!onServer()) {
            dbPassword.clear();
        }
        OnBothBackends<SessionTest>::SetUp();
        addDomain(u"Électricité"_s);
    }

    std::unique_ptr<QProcess> startWriter() {
        auto writer = std::make_unique<QProcess>();
        writer->setWorkingDirectory(path(u""_s)); // its settings and password file
        writer->start(QStringLiteral(LEXIVAR_FAULT_CHILD),
                      {dbPath, u"save"_s, QString::number(kRecordsEach)});
        return writer;
    }
};

INSTANTIATE_ON_BOTH_BACKENDS(TwoWritersTest);

TEST_P(TwoWritersTest, FiveHundredSavesEachAtOnceLoseNothing) {
    std::unique_ptr<QProcess> writers[] = {startWriter(), startWriter()};
    std::set<qlonglong> saved;
    // The file's writers wait 5 s for its lock, which a loaded machine may exceed; the user is
    // told so and nothing is half stored. The server's writers wait their turn however long.
    long refusedBusy = 0;
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(kDeadlineMs)) << writer->errorString();
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
        const QStringList lines =
            QString::fromUtf8(writer->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            if (line.startsWith(u"saved "_s)) {
                EXPECT_TRUE(saved.insert(line.mid(6).toLongLong()).second) << line;
            } else if (!onServer() && line == u"failed "_s + kBusy) {
                ++refusedBusy;
            } else if (line.startsWith(u"failed "_s) || line.startsWith(u"error "_s)) {
                ADD_FAILURE() << line;
            }
        }
    }
    EXPECT_EQ(static_cast<long>(saved.size()) + refusedBusy, 2L * kRecordsEach);
    Connection c;
    open(c, true);
    Recordset rs;
    rs.open(u"SELECT ID FROM Files"_s, c);
    std::set<qlonglong> stored;
    for (; !rs.atEnd(); rs.moveNext()) {
        stored.insert(rs.value(u"ID"_s).toLongLong());
    }
    EXPECT_EQ(stored, saved);
}
