#include "support/fixture.h"

#include "base/passwords.h"
#include "base/sqlscript.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <unistd.h>

namespace parcelon::test {
namespace {

struct ProcessState
{
    QTemporaryDir dir;
    QString sqliteTemplate;
    QString currentDatabase; // file (SQLite) or database name (PostgreSQL)
    int serial = 0;
    int fontId = -1;
};

ProcessState &state()
{
    static ProcessState s;
    return s;
}

QString pgHost() { return qEnvironmentVariable("PARCELON_PG_HOST", QStringLiteral("127.0.0.1")); }
QString pgPort() { return qEnvironmentVariable("PARCELON_PG_PORT", QStringLiteral("5432")); }

// The ODBC configuration lives in the test's own folder, set before unixODBC reads anything.
void prepareProcess()
{
    ProcessState &s = state();
    qputenv("ODBCSYSINI", s.dir.path().toLocal8Bit());
    qputenv("ODBCINI", (s.dir.path() + QStringLiteral("/odbc.ini")).toLocal8Bit());
    QFile drivers(s.dir.path() + QStringLiteral("/odbcinst.ini"));
    drivers.open(QIODevice::WriteOnly);
    const QString sqliteDriver = odbcDriverLibrary(QStringLiteral("libsqlite3odbc.so"));
    drivers.write(QStringLiteral("[SQLite3]\nDriver=%1\n\n[PostgreSQL Unicode]\nDriver=%2\n")
                      .arg(sqliteDriver, odbcDriverLibrary(QStringLiteral("psqlodbcw.so")))
                      .toLocal8Bit());
    // The generic path: a driver library whose name tells nothing about the engine behind it.
    QFile::link(sqliteDriver, s.dir.path() + QStringLiteral("/libgeneric-odbc.so"));
}
Q_COREAPP_STARTUP_FUNCTION(prepareProcess)

void runScript(QSqlDatabase database, const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QStringList statements = splitSqlScript(QString::fromUtf8(file.readAll()));
    QSqlQuery query(database);
    for (const QString &statement : statements)
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text() + QStringLiteral(": ") + statement));
}

QString sqliteTemplate()
{
    ProcessState &s = state();
    if (s.sqliteTemplate.isEmpty()) {
        const QString path = s.dir.path() + QStringLiteral("/template.db");
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("template"));
            database.setDatabaseName(path);
            database.open();
            runScript(database, QStringLiteral(PARCELON_SOURCE_DIR "/schema/sqlite.sql"));
            database.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("template"));
        s.sqliteTemplate = path;
    }
    return s.sqliteTemplate;
}

QSqlDatabase pgAdmin()
{
    const QString name = QStringLiteral("pgadmin");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    database.setHostName(pgHost());
    database.setPort(pgPort().toInt());
    database.setDatabaseName(QStringLiteral("postgres"));
    if (!database.open())
        qFatal("PostgreSQL test server not reachable at %s:%s: %s", qPrintable(pgHost()), qPrintable(pgPort()),
            qPrintable(database.lastError().text()));
    return database;
}
} // namespace

Backend backend()
{
    const QString name = qEnvironmentVariable("PARCELON_TEST_BACKEND", QStringLiteral("sqlite"));
    if (name == QLatin1String("postgresql"))
        return Backend::PostgreSQL;
    if (name == QLatin1String("odbc-sqlite"))
        return Backend::OdbcSQLite;
    return Backend::SQLite;
}

QString backendName() { return qEnvironmentVariable("PARCELON_TEST_BACKEND", QStringLiteral("sqlite")); }

void createDatabase()
{
    ProcessState &s = state();
    const int serial = ++s.serial;
    if (backend() == Backend::PostgreSQL) {
        const QString name = QStringLiteral("t_%1_%2").arg(getpid()).arg(serial);
        QSqlQuery query(pgAdmin());
        QVERIFY2(query.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE parcelon_template").arg(name)),
            qPrintable(query.lastError().text()));
        s.currentDatabase = name;
        QVERIFY(writeDataSource(QStringLiteral("land"),
            {{QStringLiteral("Driver"), QStringLiteral("PostgreSQL Unicode")}, {QStringLiteral("Servername"), pgHost()},
                {QStringLiteral("Port"), pgPort()}, {QStringLiteral("Database"), name}}));
        return;
    }
    const QString file = s.dir.path() + QStringLiteral("/land%1.db").arg(serial);
    QVERIFY(QFile::copy(sqliteTemplate(), file));
    s.currentDatabase = file;
    const QString driver = backend() == Backend::OdbcSQLite ? s.dir.path() + QStringLiteral("/libgeneric-odbc.so")
                                                            : QStringLiteral("SQLite3");
    QVERIFY(writeDataSource(QStringLiteral("land"),
        {{QStringLiteral("Driver"), driver}, {QStringLiteral("Database"), file},
            {QStringLiteral("Timeout"), QStringLiteral("5000")}, {QStringLiteral("LongNames"), QStringLiteral("0")},
            {QStringLiteral("NoCreat"), QStringLiteral("1")}}));
}

void openDatabase()
{
    createDatabase();
    QVERIFY2(db().connect_db(), "connect_db on a fresh register");
}

void destroyDatabase()
{
    db().close();
    ProcessState &s = state();
    if (s.currentDatabase.isEmpty())
        return;
    if (backend() == Backend::PostgreSQL) {
        QSqlQuery query(pgAdmin());
        query.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(s.currentDatabase));
    } else {
        QFile::remove(s.currentDatabase);
    }
    s.currentDatabase.clear();
}

void removeDataSource() { QVERIFY(parcelon::removeDataSource(QStringLiteral("land"))); }

void exec(const QString &sql, const QVariantList &params) { db().execute(sql, params); }

QString value(const QString &sql, const QVariantList &params) { return db().scalar(sql, params); }

int count(const QString &table, const QString &where, const QVariantList &params)
{
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return db().scalar(sql, params).toInt();
}

QString addUser(const QString &name, const QString &password, const QStringList &flags)
{
    const qlonglong srno = db().insert(QStringLiteral("user_loging"),
        QStringLiteral(
            "INSERT INTO user_loging (username, password1, password2, name, chack) VALUES (?, ?, ?, ?, '1')"),
        {name, hashPassword(password), hashPassword(password), name});
    const QString id = QString::number(srno);
    if (!flags.isEmpty()) {
        QVariantList values {id, name};
        for (int i = 0; i < 11; ++i)
            values << flags.value(i, flags.last());
        db().execute(QStringLiteral("INSERT INTO awasara (user_srno, username, a1, a2, a3, a4, a5, a6, a7, a8, a9, "
                                    "a10, a11) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
    }
    return id;
}

bool loadParasFont()
{
    ProcessState &s = state();
    if (s.fontId < 0)
        s.fontId = QFontDatabase::addApplicationFont(QStringLiteral(PARCELON_SOURCE_DIR "/fonts/PARAS-N.ttf"));
    return s.fontId >= 0;
}

void unloadParasFont()
{
    ProcessState &s = state();
    if (s.fontId >= 0)
        QFontDatabase::removeApplicationFont(s.fontId);
    s.fontId = -1;
}

void showScreen(QWidget *screen)
{
    screen->show();
    screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen));
}

void type(QWidget *box, const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128 && ch.isPrint())
            QTest::keyClick(box, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

QStringList unaddressable(QWidget *screen)
{
    QStringList missing;
    const QList<QWidget *> controls = screen->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QString name = control->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && control->accessibleDescription() != name)
            missing << name;
    }
    return missing;
}

void backTo(QWidget *screen)
{
    // The closing dialog's own deactivation can arrive after the request on a busy machine: ask again.
    for (int attempt = 0; attempt < 5 && !screen->isActiveWindow(); ++attempt) {
        screen->activateWindow();
        if (QTest::qWaitForWindowActive(screen, 1000))
            break;
    }
    QVERIFY2(screen->isActiveWindow(),
        qPrintable(
            QStringLiteral("active: %1, modal: %2")
                .arg(QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QStringLiteral("none"),
                    QApplication::activeModalWidget() ? QApplication::activeModalWidget()->objectName()
                                                      : QStringLiteral("none"))));
}

QStringList closeAllWindows()
{
    QStringList open;
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible())
            open << window->objectName();
    }
    // Close only: a screen the test owns is deleted by the test; the main menu deletes itself.
    for (QWidget *window : QApplication::topLevelWidgets())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return open;
}

} // namespace parcelon::test
