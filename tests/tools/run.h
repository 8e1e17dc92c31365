#pragma once
// Runs one of the built programs to its end and keeps what it said.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace parcelon::test {

struct Finished
{
    bool started = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString out;
    QString err;
    QString describe() const
    {
        return QStringLiteral("exit %1%2\n--- stdout:\n%3--- stderr:\n%4")
            .arg(code)
            .arg(status == QProcess::CrashExit ? QStringLiteral(" (crashed)") : QString(), out, err);
    }
};

// The environment of this test without a display of any kind.
inline QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    return env;
}

inline Finished runProgram(const QString &program, const QStringList &arguments,
    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
    const std::function<void()> &inChild = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(program, arguments);
    Finished finished;
    finished.started = process.waitForStarted(10000);
    if (finished.started && !process.waitForFinished(120000))
        process.kill();
    process.waitForFinished(10000);
    finished.status = process.exitStatus();
    finished.code = process.exitCode();
    finished.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    finished.err = QString::fromLocal8Bit(process.readAllStandardError());
    return finished;
}

} // namespace parcelon::test
