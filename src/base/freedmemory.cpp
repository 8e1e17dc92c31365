#include "base/freedmemory.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace parcelon {

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void returnFreedMemoryLater()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        returnFreedMemory();
        return;
    }
    // The timer lives in the application's thread; a later request restarts it.
    QMetaObject::invokeMethod(
        app,
        [] {
            static QPointer<QTimer> quiet;
            if (!quiet) {
                quiet = new QTimer(QCoreApplication::instance());
                quiet->setSingleShot(true);
                quiet->setInterval(kFreedMemoryQuietMs);
                QObject::connect(
                    quiet, &QTimer::timeout, [] { QThreadPool::globalInstance()->start([] { returnFreedMemory(); }); });
            }
            quiet->start();
        },
        Qt::QueuedConnection);
}

} // namespace parcelon
