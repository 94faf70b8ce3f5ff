#pragma once
// A TCP relay in front of a PostgreSQL server, for the paths where an answer is lost on the
// way: a hung server process, a stalled pooler, a link cut while the server commits. It passes
// everything on until told otherwise; then it keeps back what the server says (the kernel still
// acknowledges every packet, so no TCP time-out ever fires).
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

namespace testing_support {

class PgRelay {
public:
    enum Mode {
        PassOn,          // every byte both ways
        SilentAfterSignIn, // connections made from now on: the sign-in passes, then no answer
        HoldCommitAnswer,  // the next COMMIT reaches the server; its answer, and all after it, do not
        SwallowCommit,     // the next COMMIT never reaches the server, and nothing answers it
        RefuseNew,         // new connections are closed at once (the server is gone)
    };
    // Relays to the server of `conninfo` (VARNOSET_TEST_PG's form: host=... port=...).
    explicit PgRelay(const QString &conninfo);
    ~PgRelay();
    PgRelay(const PgRelay &) = delete;
    PgRelay &operator=(const PgRelay &) = delete;

    int port() const { return m_port; }
    // conninfo with the relay in the server's place.
    QString conninfo() const;
    void setMode(Mode m) { m_mode = m; }
    // The mode once a COMMIT has been held or swallowed (PassOn unless said).
    void setModeAfterCommit(Mode m) { m_afterCommit = m; }
    // Whether a COMMIT was held or swallowed.
    bool commitCaught() const { return m_caught; }

private:
    void run();
    QString m_conninfo;
    QString m_host;
    int m_upstreamPort = 0;
    int m_listener = -1;
    int m_port = 0;
    int m_wake[2] = {-1, -1};
    std::atomic<Mode> m_mode{PassOn};
    std::atomic<Mode> m_afterCommit{PassOn};
    std::atomic<bool> m_caught{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace testing_support
