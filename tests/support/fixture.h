#pragma once
// The test fixture: a fresh register per test behind a fresh data source `land`, on the backend the run
// was registered for (PARCELON_TEST_BACKEND), opened through the real connect_db.

#include "base/dbsession.h"

#include <QString>
#include <QVariantList>

class QWidget;

namespace parcelon::test {

enum class Backend { SQLite, PostgreSQL, OdbcSQLite };
Backend backend();
QString backendName();

// A fresh database and the data source `land` naming it; the session is not opened.
void createDatabase();
// createDatabase() and connect_db().
void openDatabase();
// Closes the session and drops the database.
void destroyDatabase();
// Rewrites the ODBC configuration without a data source `land`.
void removeDataSource();

// Seeds and reads the register through the open session.
void exec(const QString &sql, const QVariantList &params = {});
QString value(const QString &sql, const QVariantList &params = {});
int count(const QString &table, const QString &where = QString(), const QVariantList &params = {});

// Adds an account with the level of every flag (e.g. "3 - ish¨ wjir"); returns its srno.
QString addUser(const QString &name, const QString &password, const QStringList &flags = {});

// PARAS-N as the application would find it; false when the font file is not there.
bool loadParasFont();
void unloadParasFont();

// Shows a screen as a clerk finds it: shown, active, ready for keys.
void showScreen(QWidget *screen);
// Types text into a control as a clerk does, key by key; characters outside ASCII (legacy text) go as
// key events carrying the character, since QTest::keyClicks refuses them.
void type(QWidget *box, const QString &text);
// A window manager hands activation back to a screen when its dialog closes; the offscreen platform
// does not, so tests do.
void backTo(QWidget *screen);

// Named controls of a screen that screen readers and outside tools cannot address by name (their
// accessible description is not their name); empty when all can.
QStringList unaddressable(QWidget *screen);

// Names of the top-level windows still visible; closes every top-level window.
QStringList closeAllWindows();

} // namespace parcelon::test
