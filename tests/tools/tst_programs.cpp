// The programs as a newcomer meets them, run as the built processes: --help and --version without a
// display, the application without a display or without a register, a set-up that fails half-way, and
// what `cmake --install` puts in place for the desktop.

#include "base/datasource.h"
#include "base/passwords.h"
#include "base/registercheck.h"
#include "buildconfig.h"
#include "run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>

using namespace parcelon;

namespace {
QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// One value of an SQLite file, read directly.
QString sqliteValue(const QString &file, const QString &sql)
{
    QString value;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        database.setDatabaseName(file);
        if (database.open()) {
            QSqlQuery query(database);
            if (query.exec(sql) && query.next())
                value = query.value(0).toString();
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return value;
}
} // namespace

class tst_programs : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersionWithoutDisplay_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::newRow("parcelon") << QStringLiteral(PARCELON_APP) << QStringLiteral("parcelon");
        QTest::newRow("parcelon-setup") << QStringLiteral(PARCELON_SETUP) << QStringLiteral("parcelon-setup");
        QTest::newRow("parcelon-bench") << QStringLiteral(PARCELON_BENCH) << QStringLiteral("parcelon-bench");
    }
    void helpAndVersionWithoutDisplay()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        const test::Finished version = test::runProgram(program, {QStringLiteral("--version")}, test::withoutDisplay());
        QVERIFY2(version.status == QProcess::NormalExit && version.code == 0, qPrintable(version.describe()));
        QCOMPARE(version.out.trimmed(), name + QStringLiteral(" " PARCELON_VERSION));

        const test::Finished help = test::runProgram(program, {QStringLiteral("--help")}, test::withoutDisplay());
        QVERIFY2(help.status == QProcess::NormalExit && help.code == 0, qPrintable(help.describe()));
        QVERIFY2(help.out.startsWith(QLatin1String("Usage: ")), qPrintable(help.describe()));
        QVERIFY2(help.out.contains(QLatin1String("--version")), qPrintable(help.describe()));
    }

    void applicationWithoutDisplaySaysSo()
    {
        const test::Finished run = test::runProgram(QStringLiteral(PARCELON_APP), {}, test::withoutDisplay());
        QVERIFY2(run.status == QProcess::NormalExit && run.code == 1, qPrintable(run.describe()));
        QVERIFY2(run.err.startsWith(QLatin1String("parcelon: no display found")), qPrintable(run.describe()));
    }

    void refusedAtStartSaysWhyOnStandardError_data()
    {
        QTest::addColumn<bool>("emptyRegister");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("no data source") << false
                                        << QStringList {QStringLiteral("There is no ODBC data source land"),
                                               QStringLiteral("`make run`"),
                                               QStringLiteral("`parcelon-setup --sqlite FILE`")};
        QTest::newRow("an empty SQLite file")
            << true
            << QStringList {QStringLiteral("The data source land does not lead to a Parcelon register"),
                   QStringLiteral("empty.db")};
    }
    void refusedAtStartSaysWhyOnStandardError()
    {
        QFETCH(bool, emptyRegister);
        QFETCH(QStringList, said);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("odbc.ini"));
        if (emptyRegister) {
            QFile empty(dir.filePath(QStringLiteral("empty.db")));
            QVERIFY(empty.open(QIODevice::WriteOnly));
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("[land]\nDriver=%1\nDatabase=%2\n")
                           .arg(odbcDriverLibrary(QStringLiteral("libsqlite3odbc.so")), empty.fileName())
                           .toLocal8Bit());
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("ODBCINI"), ini);
        env.insert(QStringLiteral("ODBCSYSINI"), dir.path());
        // The clerk's message box waits for an answer nobody gives here: the terminal's text is what is
        // checked, then the program is ended.
        QProcess parcelon;
        parcelon.setProcessEnvironment(env);
        parcelon.start(QStringLiteral(PARCELON_APP), {});
        QVERIFY(parcelon.waitForStarted());
        QString err;
        const auto saidAll = [&] {
            err += QString::fromLocal8Bit(parcelon.readAllStandardError());
            for (const QString &text : said)
                if (!err.contains(text))
                    return false;
            return true;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(saidAll() || parcelon.state() == QProcess::NotRunning, qPrintable(err), 30000);
        QVERIFY2(saidAll(), qPrintable(err));
        QVERIFY2(parcelon.state() == QProcess::Running, "the refusal is shown to the clerk until answered");
        parcelon.kill();
        QVERIFY(parcelon.waitForFinished());
    }

    void failedSetUpLeavesNothingBehind()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("office/land.db"));
        const QString ini = dir.filePath(QStringLiteral("odbc.ini"));
        QFile mine(ini);
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("# the office's own sources\n[archive]\nDriver=PostgreSQL Unicode\n");
        mine.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ODBCINI"), ini);
        env.insert(QStringLiteral("ODBCSYSINI"), dir.path());
        env.insert(QStringLiteral("PARCELON_CHIEF_PASSWORD"), QStringLiteral("Secret1"));
        const QStringList arguments = {QStringLiteral("--sqlite"), file, QStringLiteral("--demo")};

        // A disk that fills up half-way: files may not grow past 32 KiB, and writing past it fails
        // (instead of the signal that would end the process at once).
        const test::Finished full = test::runProgram(QStringLiteral(PARCELON_SETUP), arguments, env, [] {
            const rlimit limit {32 * 1024, 32 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_IGN);
        });
        QVERIFY2(full.status == QProcess::NormalExit && full.code == 1, qPrintable(full.describe()));
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY2(full.err.contains(QLatin1String("The register was not created")), qPrintable(full.describe()));
        QCOMPARE(readText(ini), QStringLiteral("# the office's own sources\n[archive]\nDriver=PostgreSQL Unicode\n"));

        // The next run is not refused, and makes the whole register.
        const test::Finished next = test::runProgram(QStringLiteral(PARCELON_SETUP), arguments, env);
        QVERIFY2(next.status == QProcess::NormalExit && next.code == 0, qPrintable(next.describe()));
        QCOMPARE(sqliteValue(file, QStringLiteral("SELECT version FROM parcelon_schema")),
            QString::number(kRegisterVersion));
        QVERIFY(passwordMatches(
            sqliteValue(file, QStringLiteral("SELECT password1 FROM user_loging WHERE username = 'Chief'")),
            QStringLiteral("Secret1")));
        QVERIFY(sqliteValue(file, QStringLiteral("SELECT COUNT(*) FROM land")).toInt() > 0);
        // ANALYZE ran: the planner has statistics of the register's tables.
        QVERIFY(sqliteValue(file, QStringLiteral("SELECT COUNT(*) FROM sqlite_stat1")).toInt() > 0);

        // The data source points at the register through a driver that exists here; the user's lines stay.
        const QString written = readText(ini);
        QVERIFY2(written.startsWith(
                     QLatin1String("# the office's own sources\n[archive]\nDriver=PostgreSQL Unicode\n\n[land]\n")),
            qPrintable(written));
        const QString driver = odbcDriverLibrary(QStringLiteral("libsqlite3odbc.so"));
        QVERIFY2(written.contains(QStringLiteral("\nDriver=%1\n").arg(driver)), qPrintable(written));
        QVERIFY(QFileInfo(driver).isFile());
        QVERIFY2(written.contains(QStringLiteral("\nDatabase=%1\n").arg(file)), qPrintable(written));
    }

    void installPutsTheDesktopEntryAndIconInPlace()
    {
        QTemporaryDir prefix;
        const test::Finished install = test::runProgram(QStringLiteral(PARCELON_CMAKE),
            {QStringLiteral("--install"), QStringLiteral(PARCELON_BUILD_DIR), QStringLiteral("--prefix"),
                prefix.path()});
        QVERIFY2(install.status == QProcess::NormalExit && install.code == 0, qPrintable(install.describe()));

        const QString program = prefix.filePath(QStringLiteral("bin/parcelon"));
        QVERIFY(QFileInfo(program).isExecutable());
        QVERIFY(QFileInfo(prefix.filePath(QStringLiteral("bin/parcelon-setup"))).isExecutable());
        QVERIFY(QFileInfo::exists(prefix.filePath(QStringLiteral("share/fonts/truetype/parcelon/PARAS-N.ttf"))));

        const QStringList entry = readText(prefix.filePath(QStringLiteral("share/applications/parcelon.desktop")))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!entry.isEmpty());
        QCOMPARE(entry.first(), QStringLiteral("[Desktop Entry]"));
        for (const QString &line : {QStringLiteral("Type=Application"), QStringLiteral("Name=Parcelon"),
                 QStringLiteral("Icon=parcelon"), QStringLiteral("Exec=\"%1\"").arg(program),
                 QStringLiteral("TryExec=%1").arg(program), QStringLiteral("Terminal=false")})
            QVERIFY2(entry.contains(line), qPrintable(line));

        QFile icon(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/parcelon.svg")));
        QVERIFY(icon.open(QIODevice::ReadOnly));
        QXmlStreamReader svg(&icon);
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name(), QLatin1String("svg"));
        QVERIFY(!svg.attributes().value(QLatin1String("viewBox")).isEmpty());
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
    }
};

QTEST_GUILESS_MAIN(tst_programs)
#include "tst_programs.moc"
