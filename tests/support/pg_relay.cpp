#include "support/pg_relay.h"

#include "core/profile.h"

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <chrono>
#include <vector>

namespace testing_support {

namespace {

// Each message goes on at once (the relay writes a message at a time).
void noDelay(int fd)
{
    const int yes = 1;
    if (fd >= 0)
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

int connectTo(const QString &host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo *a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd >= 0 && ::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    noDelay(fd);
    return fd;
}

bool sendAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size_t(size), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

quint32 bigEndian32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 | quint32(quint8(b[at + 2])) << 8
           | quint32(quint8(b[at + 3]));
}

// One client's connection and the relay's own to the server. Messages are passed on whole, so
// that a COMMIT can be told and kept back.
struct Pair {
    int client = -1;
    int server = -1;
    bool startup = true;       // the client's messages have no type byte yet
    int rawReplies = 0;        // one-byte answers to the encryption requests still to come
    bool silentAfterSignIn = false;
    bool signedIn = false;
    bool holdServer = false;   // nothing the server says reaches the client any more
    // A connection kept silent after its sign-in is hung up after twenty seconds, so that a
    // client that never gives up fails its test rather than waiting for ever.
    std::chrono::steady_clock::time_point silentSince;
    QByteArray fromClient, fromServer;
};

} // namespace

PgRelay::PgRelay(const QString &conninfo) : m_conninfo(conninfo)
{
    const DbProfile p = DbProfile::fromConnInfo(conninfo);
    m_host = p.host;
    m_upstreamPort = p.port;
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 || ::listen(m_listener, 16) != 0)
        qFatal("the relay cannot listen");
    socklen_t len = sizeof a;
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&a), &len);
    m_port = ntohs(a.sin_port);
    if (::pipe(m_wake) != 0)
        qFatal("the relay has no pipe");
    m_thread = std::thread([this] { run(); });
}

PgRelay::~PgRelay()
{
    m_stop = true;
    const char c = 0;
    [[maybe_unused]] const auto n = ::write(m_wake[1], &c, 1);
    m_thread.join();
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

QString PgRelay::conninfo() const
{
    QStringList parts;
    for (const QString &part : m_conninfo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (!part.startsWith(QLatin1String("host=")) && !part.startsWith(QLatin1String("port=")))
            parts << part;
    return QStringLiteral("host=127.0.0.1 port=%1 ").arg(m_port) + parts.join(QLatin1Char(' '));
}

void PgRelay::run()
{
    std::vector<Pair> pairs;
    auto closeSide = [](int &fd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    };
    while (!m_stop) {
        std::vector<pollfd> fds{{m_listener, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        for (const Pair &p : pairs) {
            fds.push_back({p.client, short(p.client >= 0 ? POLLIN : 0), 0});
            fds.push_back({p.server, short(p.server >= 0 ? POLLIN : 0), 0});
        }
        if (::poll(fds.data(), fds.size(), 200) < 0)
            continue;
        if (fds[0].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            noDelay(client);
            if (client >= 0) {
                const Mode mode = m_mode;
                const int server = mode == RefuseNew ? -1 : connectTo(m_host, m_upstreamPort);
                if (server < 0) {
                    ::close(client);
                } else {
                    Pair p;
                    p.client = client;
                    p.server = server;
                    p.silentAfterSignIn = mode == SilentAfterSignIn;
                    pairs.push_back(p);
                }
            }
        }
        for (size_t i = 0; i < pairs.size(); ++i) {
            Pair &p = pairs[i];
            const short clientEvents = fds[2 + 2 * i].revents, serverEvents = fds[3 + 2 * i].revents;
            char buf[65536];
            if (p.client >= 0 && (clientEvents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t n = ::recv(p.client, buf, sizeof buf, 0);
                if (n <= 0) {
                    closeSide(p.client);
                    // A server that got a COMMIT it never answered is kept as a stalled pooler
                    // keeps it; any other is told the client went away.
                    if (!p.holdServer)
                        closeSide(p.server);
                } else {
                    p.fromClient.append(buf, n);
                }
            }
            // The client's whole messages, passed on one by one.
            while (p.client >= 0 && p.server >= 0) {
                QByteArray &b = p.fromClient;
                if (p.startup) {
                    if (b.size() < 8 || b.size() < int(bigEndian32(b, 0)))
                        break;
                    const int len = int(bigEndian32(b, 0));
                    const quint32 code = bigEndian32(b, 4);
                    if (code == 80877103 || code == 80877104) // SSL or GSS encryption request
                        ++p.rawReplies;
                    else
                        p.startup = false;
                    sendAll(p.server, b.constData(), len);
                    b.remove(0, len);
                    continue;
                }
                if (b.size() < 5 || b.size() < 1 + int(bigEndian32(b, 1)))
                    break;
                const int len = 1 + int(bigEndian32(b, 1));
                const bool commit = b[0] == 'Q' && b.mid(5, len - 5).trimmed().toUpper().startsWith("COMMIT");
                const Mode mode = m_mode;
                if (commit && (mode == HoldCommitAnswer || mode == SwallowCommit)) {
                    m_mode = Mode(m_afterCommit);
                    m_caught = true;
                    p.holdServer = true;
                    if (mode == HoldCommitAnswer)
                        sendAll(p.server, b.constData(), len);
                } else {
                    sendAll(p.server, b.constData(), len);
                }
                b.remove(0, len);
            }
            if (p.server >= 0 && (serverEvents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t n = ::recv(p.server, buf, sizeof buf, 0);
                if (n <= 0) {
                    closeSide(p.server);
                    closeSide(p.client);
                } else if (!p.holdServer) {
                    p.fromServer.append(buf, n);
                }
            }
            // The server's whole messages, up to the sign-in's end when it is the last passed.
            while (p.client >= 0 && !p.holdServer) {
                QByteArray &b = p.fromServer;
                if (p.rawReplies > 0) {
                    if (b.isEmpty())
                        break;
                    --p.rawReplies;
                    sendAll(p.client, b.constData(), 1);
                    b.remove(0, 1);
                    continue;
                }
                if (b.size() < 5 || b.size() < 1 + int(bigEndian32(b, 1)))
                    break;
                const int len = 1 + int(bigEndian32(b, 1));
                sendAll(p.client, b.constData(), len);
                if (b[0] == 'Z' && p.silentAfterSignIn && !p.signedIn) {
                    p.signedIn = true;
                    p.holdServer = true;
                    p.silentSince = std::chrono::steady_clock::now();
                }
                b.remove(0, len);
            }
        }
        for (Pair &p : pairs)
            if (p.signedIn && std::chrono::steady_clock::now() - p.silentSince > std::chrono::seconds(20)) {
                closeSide(p.client);
                closeSide(p.server);
            }
        std::erase_if(pairs, [](const Pair &p) { return p.client < 0 && p.server < 0; });
    }
    for (Pair &p : pairs) {
        closeSide(p.client);
        closeSide(p.server);
    }
}

} // namespace testing_support
