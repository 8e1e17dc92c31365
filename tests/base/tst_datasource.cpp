// The data source `land` in the user's odbc.ini: written and removed as a text edit that keeps the rest
// of the file as the user wrote it, read back at once through unixODBC, and pointing at driver
// libraries that exist on this machine.

#include "base/datasource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace parcelon;

namespace {
const QList<std::pair<QString, QString>> kEntries = {{QStringLiteral("Driver"), QStringLiteral("SQLite3")},
    {QStringLiteral("Database"), QStringLiteral("/srv/land.db")}};
const QByteArray kSection = "[land]\nDriver=SQLite3\nDatabase=/srv/land.db\n";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeAll(const QString &path, const QByteArray &text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), text.size());
}
} // namespace

class tst_datasource : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_ini;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_ini = m_dir.filePath(QStringLiteral("odbc-%1.ini").arg(QLatin1String(QTest::currentTestFunction())));
        QFile::remove(m_ini);
        qputenv("ODBCINI", m_ini.toLocal8Bit());
        qputenv("ODBCSYSINI", m_dir.path().toLocal8Bit());
    }

    void userFileIsTheOneOdbciniNames() { QCOMPARE(userOdbcIni(), m_ini); }

    void writeKeepsTheRestOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("no file") << QByteArray() << kSection;
        QTest::newRow("comments and another section: appended")
            << QByteArray("# Office sources, kept by hand\n; do not remove\n[reports]\nDriver=PostgreSQL Unicode\n"
                          "Database=reports   ; the archive\n")
            << QByteArray("# Office sources, kept by hand\n; do not remove\n[reports]\nDriver=PostgreSQL Unicode\n"
                          "Database=reports   ; the archive\n\n")
                + kSection;
        QTest::newRow("last line without its line end")
            << QByteArray("[reports]\nDriver=x") << QByteArray("[reports]\nDriver=x\n\n") + kSection;
        QTest::newRow("land between sections: replaced in place, comment before the next kept")
            << QByteArray("[a]\nDriver=x\n\n# land: the register\n[land]\nDriver=old\nServername=gone\n\n"
                          "# b is the archive\n[b]\r\nDriver=y\r\n")
            << QByteArray("[a]\nDriver=x\n\n# land: the register\n") + kSection
                + QByteArray("\n# b is the archive\n[b]\r\nDriver=y\r\n");
        QTest::newRow("header in another letter case, with spaces")
            << QByteArray("[ LAND ]\nDriver=old\n[b]\nDriver=y\n") << kSection + QByteArray("[b]\nDriver=y\n");
        QTest::newRow("a second land goes: unixODBC would read the first only")
            << QByteArray("[land]\nDriver=one\n\n[b]\nDriver=y\n\n[land]\nDriver=two\n# end\n")
            << kSection + QByteArray("\n[b]\nDriver=y\n\n# end\n");
        QTest::newRow("a section whose name only begins with land")
            << QByteArray("[landing]\nDriver=x\n") << QByteArray("[landing]\nDriver=x\n\n") + kSection;
    }
    void writeKeepsTheRestOfTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            writeAll(m_ini, before);
        QVERIFY(writeDataSource(QStringLiteral("land"), kEntries));
        QCOMPARE(readAll(m_ini), after);
        // Written twice, the file is the same: nothing piles up.
        QVERIFY(writeDataSource(QStringLiteral("land"), kEntries));
        QCOMPARE(readAll(m_ini), after);
    }

    void removeKeepsTheRestOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("between sections")
            << QByteArray("# mine\n[a]\nDriver=x\n\n[land]\nDriver=old\n\n; about b\n[b]\nDriver=y\n")
            << QByteArray("# mine\n[a]\nDriver=x\n\n; about b\n[b]\nDriver=y\n");
        QTest::newRow("every land section")
            << QByteArray("[land]\nDriver=1\n[b]\nDriver=y\n[Land]\nDriver=2\n") << QByteArray("[b]\nDriver=y\n");
        QTest::newRow("no land: untouched") << QByteArray("# only a comment") << QByteArray("# only a comment");
    }
    void removeKeepsTheRestOfTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeAll(m_ini, before);
        QVERIFY(removeDataSource(QStringLiteral("land")));
        QCOMPARE(readAll(m_ini), after);
    }

    void removeWithoutFileCreatesNone()
    {
        QVERIFY(removeDataSource(QStringLiteral("land")));
        QVERIFY(!QFileInfo::exists(m_ini));
    }

    void whatIsWrittenIsReadAtOnce()
    {
        // unixODBC keeps what it read for a while: a source rewritten at once must be read anew.
        writeAll(m_ini, "# kept\n");
        QVERIFY(writeDataSource(QStringLiteral("land"),
            {{QStringLiteral("Driver"), QStringLiteral("SQLite3")},
                {QStringLiteral("Database"), QStringLiteral("/one.db")}}));
        std::optional<DataSource> source = readDataSource(QStringLiteral("land"));
        QVERIFY(source);
        QCOMPARE(source->database, QStringLiteral("/one.db"));
        QVERIFY(writeDataSource(QStringLiteral("land"),
            {{QStringLiteral("Driver"), QStringLiteral("SQLite3")},
                {QStringLiteral("Database"), QStringLiteral("/two.db")}}));
        source = readDataSource(QStringLiteral("land"));
        QVERIFY(source);
        QCOMPARE(source->database, QStringLiteral("/two.db"));
        QVERIFY(removeDataSource(QStringLiteral("land")));
        QVERIFY(!readDataSource(QStringLiteral("land")));
        QVERIFY(readAll(m_ini).startsWith("# kept\n"));
    }

    void permissionsAndLinkAreKept()
    {
        // odbc.ini may hold a password: a private file stays private, and a link stays a link.
        const QString target = m_dir.filePath(QStringLiteral("shared/odbc.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
        writeAll(target, "# shared\n");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(QFile::link(target, m_ini));
        QVERIFY(writeDataSource(QStringLiteral("land"), kEntries));
        QVERIFY(QFileInfo(m_ini).isSymLink());
        QCOMPARE(readAll(target), QByteArray("# shared\n\n") + kSection);
        const QFile::Permissions everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
            | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(target) & everyone, QFile::ReadOwner | QFile::WriteOwner);
    }

    void driverLibrariesExistOnThisMachine_data()
    {
        QTest::addColumn<QString>("library");
        QTest::newRow("SQLite") << QStringLiteral("libsqlite3odbc.so");
        QTest::newRow("PostgreSQL") << QStringLiteral("psqlodbcw.so");
    }
    void driverLibrariesExistOnThisMachine()
    {
        QFETCH(QString, library);
        const QString path = odbcDriverLibrary(library);
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    }
};

QTEST_GUILESS_MAIN(tst_datasource)
#include "tst_datasource.moc"
