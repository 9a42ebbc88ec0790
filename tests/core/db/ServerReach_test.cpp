// Reaching a server: a wrong password, a server that never answers and one that refuses the
// encryption the settings require each give their own French message, after the settings'
// time-out at most.
#include "core/AppError.h"
#include "core/TestSupport.h"
#include "core/db/Connection.h"
#include "core/db/TestServer.h"
#include "core/files/ProgramFolder.h"
#include "core/files/SettingsFile.h"

#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A loopback port that takes connections and then says nothing, or only declines encryption
// (the one byte "N" a server without TLS answers to a request for it).
class SilentServer {
public:
    explicit SilentServer(bool declineTls) {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_socket, 4);
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        if (declineTls) {
            m_thread = std::thread([this] {
                const int client = ::accept(m_socket, nullptr, nullptr);
                char request[8];
                if (client >= 0 && ::recv(client, request, sizeof request, MSG_WAITALL) == 8) {
                    [[maybe_unused]] const auto sent = ::send(client, "N", 1, 0);
                }
                m_client = client;
            });
        }
    }
    ~SilentServer() {
        ::shutdown(m_socket, SHUT_RDWR);
        if (m_thread.joinable()) {
            m_thread.join();
        }
        if (m_client >= 0) {
            ::close(m_client);
        }
        ::close(m_socket);
    }
    QString address() const {
        return u"postgresql://127.0.0.1:"_s + QString::number(m_port) + u"/lexivar"_s;
    }

private:
    int m_socket = -1;
    int m_client = -1;
    int m_port = 0;
    std::thread m_thread;
};

class ServerReachTest : public LexivarTest {
protected:
    void SetUp() override {
        LexivarTest::SetUp();
        ProgramFolder::set(path(u""_s));
        ASSERT_TRUE(writeSetting(u"Database"_s, u"DelaiConnexion"_s, u"2"_s,
                                 ProgramFolder::settingsFile()));
    }
    AppError failureOf(const DatabaseLocation& location) {
        Connection c;
        try {
            c.open(location, Connection::Mode::Read);
        } catch (const AppError& e) {
            EXPECT_FALSE(c.isOpen());
            return e;
        }
        return AppError(0, QString());
    }
};

} // namespace

TEST_F(ServerReachTest, AWrongPasswordIsTheFileBackendsError) {
    ASSERT_TRUE(TestServer::available()) << "LEXIVAR_TEST_SERVER : aucun serveur d'essai";
    const QString base = TestServer::createDatabase(u"juste"_s);
    for (const QString& wrong : {u"faux"_s, u""_s}) {
        const AppError e = failureOf({base, wrong});
        EXPECT_EQ(e.number(), ErrorNumber::NotValidPassword) << wrong;
        EXPECT_EQ(e.description(), u"Mot de passe non valide."_s);
    }
    // The role's password never comes from the address, not even beside an empty one.
    for (const QString& given : {u""_s, u"faux"_s}) {
        const AppError e = failureOf({base + u"&password=juste"_s, given});
        EXPECT_TRUE(e.description().contains(u"contient un mot de passe"_s)) << given;
    }
    TestServer::dropDatabase(base);
}

TEST_F(ServerReachTest, ASilentServerIsGivenUpAfterTheTimeOut) {
    const SilentServer silent(false);
    const QDeadlineTimer deadline(30000);
    const AppError e = failureOf({silent.address(), u"x"_s});
    EXPECT_FALSE(deadline.hasExpired());
    EXPECT_EQ(e.number(), ErrorNumber::ProviderGeneric);
    EXPECT_TRUE(e.description().startsWith(
        u"Impossible de joindre le serveur de bases de données « 127.0.0.1 » (délai "
        u"d’attente : 2 s)"_s))
        << e.description();
}

TEST_F(ServerReachTest, EncryptionTheSettingsRequireIsNotGivenUp) {
    ASSERT_TRUE(writeSetting(u"Database"_s, u"TLS"_s, u"oui"_s, ProgramFolder::settingsFile()));
    const SilentServer declining(true);
    const AppError e = failureOf({declining.address(), u"x"_s});
    EXPECT_EQ(e.description(), u"Le serveur de bases de données « 127.0.0.1 » n’accepte pas de "
                               u"connexion chiffrée (TLS), que la configuration exige."_s);
}
