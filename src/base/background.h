#pragma once
// One piece of work at a time on a thread of its own, its result handed back in the owner's thread, so
// that a backup never freezes the window that started it. The work must not touch the application's
// session (db()): it opens connections of its own. Destroying the owner waits for running work.

#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace parcelon {

class Background final : public QObject
{
public:
    explicit Background(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    ~Background() override
    {
        if (!m_thread)
            return;
        m_thread->disconnect(this);
        m_thread->wait();
        delete m_thread;
    }
    Q_DISABLE_COPY_MOVE(Background)

    bool isRunning() const { return m_thread != nullptr; }

    // Runs work() on a worker thread; done(result) runs in this object's thread when it has ended.
    template <typename Work, typename Done> void run(Work work, Done done)
    {
        using Result = decltype(work());
        auto result = std::make_shared<std::optional<Result>>();
        m_thread = QThread::create([work = std::move(work), result]() mutable { result->emplace(work()); });
        connect(m_thread, &QThread::finished, this, [this, result, done = std::move(done)]() mutable {
            m_thread->deleteLater();
            m_thread = nullptr;
            done(std::move(**result));
        });
        m_thread->start();
    }

    // Waits until the running work has ended and its result was handed back (tests, shutting down).
    void waitForFinished()
    {
        while (m_thread) {
            m_thread->wait();
            QCoreApplication::sendPostedEvents(this);
            if (m_thread) // the finished signal is queued: let it arrive
                QCoreApplication::processEvents();
        }
    }

private:
    QThread *m_thread = nullptr;
};

} // namespace parcelon
