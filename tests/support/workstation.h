#pragma once
// Another workstation on the same register, for tests that race two changes: a session of its own on
// its own connection, in a thread of its own (Qt's connections belong to the thread that opens them).

#include "base/dbsession.h"

#include <QDeadlineTimer>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace parcelon::test {

using namespace std::chrono_literals;

// A one-way signal between the two workstations' threads.
class Signal
{
public:
    void raise()
    {
        std::lock_guard lock(m_mutex);
        m_raised = true;
        m_changed.notify_all();
    }
    bool isRaised()
    {
        std::lock_guard lock(m_mutex);
        return m_raised;
    }
    bool wait(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [this] { return m_raised; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_raised = false;
};

// Another workstation: a session of its own on the same register, in a thread of its own (Qt's
// connections belong to the thread that opens them). A database error ends up in error.
template <typename Work> std::jthread otherWorkstation(QString &error, Work work)
{
    return std::jthread([&error, work] {
        DbSession session(QStringLiteral("other workstation"));
        if (!session.connect_db()) {
            error = QStringLiteral("the other workstation cannot connect");
            return;
        }
        try {
            work(session);
        } catch (const DbError &e) {
            error = e.description;
        }
        session.close();
    });
}

// Returns once this workstation's change waits for the lock the session holds, or has got past it.
// PostgreSQL shows the waiting lock; SQLite shows nothing of a waiting writer, so it is given a moment
// to start (the outcome checked never depends on how long that takes).
inline void waitForRival(DbSession &session, Signal &rivalInside)
{
    if (session.dialect().engine != Engine::PostgreSQL) {
        rivalInside.wait(1500ms);
        return;
    }
    const QDeadlineTimer deadline(30s);
    while (!rivalInside.wait(20ms) && !deadline.hasExpired()) {
        const QString waiting = session.scalar(
            QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE locktype = 'advisory' AND NOT granted "
                           "AND database = (SELECT oid FROM pg_database WHERE datname = current_database())"));
        if (waiting.toInt() > 0)
            return;
    }
}

} // namespace parcelon::test
