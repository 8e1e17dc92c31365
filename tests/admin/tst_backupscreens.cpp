// The backup settings and backup screens as a clerk meets them: locations browsed and saved, a new
// folder, copy 1 walked through by its timer and copy 2 in one click, what a failure shows and logs,
// and the workstation that is not the server.

#include "admin/backupschedule.h"
#include "admin/frmbackup.h"
#include "admin/frmbackup_m.h"
#include "base/dbsession.h"
#include "base/restore.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/screentest.h"
#include "ui/choices.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <memory>

using namespace parcelon;

namespace {
const QString kYes = QStringLiteral("1 - Tõ");
const QString kNo = QStringLiteral("2 - ke;");
const QString kFinished = QStringLiteral("o;a; msgm;a ú wjidkhs");
const QColor kRed {255, 0, 0};
} // namespace

class tst_backupscreens : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    QTemporaryDir m_dir;
    QString m_back1;
    QString m_back2;
    std::unique_ptr<FRMBACKUP> m_settings;
    std::unique_ptr<frmbackup_m> m_backup;

    void settingsRow(const QString &back1, const QString &back2)
    {
        test::exec(QStringLiteral("INSERT INTO backup_settind (back1, back2, auto_aw, auto_time, Auto_backku2, "
                                  "Auto_backp_pamanaya, database_path) VALUES (?, ?, ?, '08:00:00', ?, '5', '/srv')"),
            {back1, back2, kYes, kNo});
    }
    FRMBACKUP *openSettings()
    {
        m_settings = std::make_unique<FRMBACKUP>(m_home);
        test::showScreen(m_settings.get());
        return m_settings.get();
    }
    frmbackup_m *openBackup()
    {
        m_backup = std::make_unique<frmbackup_m>(m_home);
        test::showScreen(m_backup.get());
        return m_backup.get();
    }
    static void browse(QPushButton *cmdbrowse, const QString &folder)
    {
        choices::answerNext(folder);
        QTest::mouseClick(cmdbrowse, Qt::LeftButton);
        QCOMPARE(choices::pendingAnswers(), 0);
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_home = m_base.home(test::addUser(QStringLiteral("Chief"), QStringLiteral("p")), QStringLiteral("Chief"));
        m_home->labbb->setText(QStringLiteral("1"));
        QDir(m_dir.path()).removeRecursively();
        m_back1 = m_dir.filePath(QStringLiteral("one"));
        m_back2 = m_dir.filePath(QStringLiteral("two"));
        QVERIFY(QDir().mkpath(m_back1) && QDir().mkpath(m_back2));
    }

    void cleanup()
    {
        m_settings.reset();
        m_backup.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    // A first configuration: both locations browsed, the automatic backup set, saved once.
    void settingsAreSavedAsShown()
    {
        FRMBACKUP *s = openSettings();
        QVERIFY(s->optpath1->isChecked());
        QVERIFY(!s->labserver->text().isEmpty());
        QCOMPARE(s->cmbbackp_pamanaya->count(), 100);
        browse(s->cmdbrowse, m_back1);
        QTest::mouseClick(s->optpath2, Qt::LeftButton);
        browse(s->cmdbrowse, m_back2);
        QCOMPARE(s->labpath->text(), m_back1 + QLatin1Char('/'));
        QCOMPARE(s->labbackup_copy->text(), m_back2 + QLatin1Char('/'));
        // The lists take typed text as well as their entries.
        test::typeInto(s->cmbbackp_awashada->lineEdit(), kYes);
        test::typeInto(s->cmbbackp_2->lineEdit(), kNo);
        test::typeInto(s->cmbbackp_pamanaya->lineEdit(), QStringLiteral("7"));
        s->dtbackp_time->setTime(QTime(8, 30, 0));
        test::typeInto(s->txtdatabase, QStringLiteral("/var/lib/land"));
        QTest::mouseClick(s->cmdsave, Qt::LeftButton);
        QVERIFY(!s->cmdsave->isEnabled());
        QCOMPARE(test::count(QStringLiteral("backup_settind")), 1);
        const std::optional<BackupSettings> saved = BackupSettings::newest();
        QVERIFY(saved);
        QCOMPARE(saved->back1, m_back1 + QLatin1Char('/'));
        QCOMPARE(saved->back2, m_back2 + QLatin1Char('/'));
        QCOMPARE(saved->autoOn, kYes);
        QCOMPARE(saved->autoTime, QStringLiteral("08:30:00"));
        QCOMPARE(saved->secondCopy, kNo);
        QCOMPARE(saved->keep, QStringLiteral("7"));
        QCOMPARE(saved->databasePath, QStringLiteral("/var/lib/land"));
        m_settings.reset();

        // Opened again: the newest row is shown, the folder list stands at location 1.
        s = openSettings();
        QCOMPARE(s->labpath->text(), m_back1 + QLatin1Char('/'));
        QCOMPARE(s->labbackup_copy->text(), m_back2 + QLatin1Char('/'));
        QCOMPARE(s->Dir->text(), m_back1);
        QCOMPARE(s->cmbbackp_awashada->currentText(), kYes);
        QCOMPARE(s->dtbackp_time->time(), QTime(8, 30, 0));
        QCOMPARE(s->cmbbackp_pamanaya->currentText(), QStringLiteral("7"));
        QCOMPARE(s->txtdatabase->text(), QStringLiteral("/var/lib/land"));
    }

    // Saving without browsing for location 2 keeps the one shown at load; a cancelled choice changes
    // nothing.
    void unbrowsedLocationIsKept()
    {
        settingsRow(m_back1 + QLatin1Char('/'), QStringLiteral("/old/two/"));
        FRMBACKUP *s = openSettings();
        browse(s->cmdbrowse, QString());
        QCOMPARE(s->labpath->text(), m_back1 + QLatin1Char('/'));
        browse(s->cmdbrowse, m_back2);
        QTest::mouseClick(s->cmdsave, Qt::LeftButton);
        QCOMPARE(test::value(QStringLiteral("SELECT back1 FROM backup_settind ORDER BY srno DESC")),
            m_back2 + QLatin1Char('/'));
        QCOMPARE(test::value(QStringLiteral("SELECT back2 FROM backup_settind ORDER BY srno DESC")),
            QStringLiteral("/old/two/"));
    }

    void newFolder()
    {
        settingsRow(m_back1 + QLatin1Char('/'), QString());
        FRMBACKUP *s = openSettings();
        QTest::mouseClick(s->cmdnew_folder, Qt::LeftButton);
        QCOMPARE(background(s->txtnew_balder), kRed);
        test::typeInto(s->txtnew_balder, QStringLiteral("daily"));
        QTest::mouseClick(s->cmdnew_folder, Qt::LeftButton);
        QVERIFY(QFileInfo(m_back1 + QStringLiteral("/daily")).isDir());
        QVERIFY(s->txtnew_balder->text().isEmpty());
        test::typeInto(s->txtnew_balder, QStringLiteral("daily"));
        QTest::mouseClick(s->cmdnew_folder, Qt::LeftButton);
        QCOMPARE(background(s->txtnew_balder), kRed);
    }

    void copy2BacksUpAndLogs()
    {
        settingsRow(m_back1 + QLatin1Char('/'), m_back2 + QLatin1Char('/'));
        frmbackup_m *s = openBackup();
        QCOMPARE(s->labnow->text(), QStringLiteral("2026-3-14-10-20-30"));
        QCOMPARE(s->ff->text(), QStringLiteral("2026314102030"));
        // The folder list pointed at location 1 shows it as a folder, without the separator at its end.
        QCOMPARE(s->labbackup1->text(), m_back1);
        QVERIFY(s->cmdbackup1->isEnabled());
        QTest::mouseClick(s->cmdbackup1, Qt::LeftButton);
        QVERIFY(s->pb2->isVisible());
        s->close(); // the window stays while the backup runs
        QVERIFY(s->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(s->pb2->isHidden(), 60000);
        const QString file = QStringLiteral("/2026314102030.dat");
        QVERIFY(backupKind(m_back1 + file) != BackupKind::Unknown);
        QVERIFY(backupKind(m_back2 + file) != BackupKind::Unknown);
        QCOMPARE(s->labmessage->text(), kFinished);
        QCOMPARE(s->pb2->value(), 100);
        QVERIFY(s->pb2->isHidden());
        QVERIFY(!s->cmdbackup1->isEnabled());
        Query row = db().select(
            QStringLiteral("SELECT backup_w, backup_u, date, time, path, file_name, username FROM backup_d"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0), QStringLiteral(" Backup "));
        QCOMPARE(row.value(1), QStringLiteral(" Backup2 "));
        QCOMPARE(row.value(2), test::kStampDate);
        QCOMPARE(row.value(3), test::kStampTime);
        QCOMPARE(row.value(4), m_back1);
        QCOMPARE(row.value(5), QStringLiteral("Korvel_Data.MDF"));
        QCOMPARE(row.value(6), QStringLiteral("Chief"));
        QVERIFY(!row.next());
    }

    // Location 1 gone: said at load, and copy 2 then fails, says so and logs nothing.
    void copy2FailureLogsNothing()
    {
        settingsRow(m_dir.filePath(QStringLiteral("gone/")), m_back2 + QLatin1Char('/'));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK")).press(QStringLiteral("OK"));
        frmbackup_m *s = openBackup();
        QCOMPARE(answers.text(0), QStringLiteral("Backup path invaild"));
        QCOMPARE(answers.title(0), QStringLiteral("message"));
        QCOMPARE(background(s->labbackup1), kRed);
        QTest::mouseClick(s->cmdbackup1, Qt::LeftButton);
        QTRY_COMPARE(answers.answered(), 2);
        QCOMPARE(answers.title(1), QStringLiteral("Backup"));
        QCOMPARE(s->labmessage->text(), backupFailedNotice());
        QCOMPARE(test::count(QStringLiteral("backup_d")), 0);
        QVERIFY(QDir(m_back2).isEmpty());
    }

    // Copy 1: copied at 20 and 30 on a worker thread while the bar moves, done at 100; the register stays
    // open throughout; leaving then ends the run.
    void copy1CopiesTheRegister()
    {
        settingsRow(m_back1 + QLatin1Char('/'), m_back2 + QLatin1Char('/'));
        frmbackup_m *s = openBackup();
        QVERIFY2(s->CMDBACKUP->isEnabled(), qPrintable(s->CMDBACKUP->toolTip()));
        QTest::mouseClick(s->CMDBACKUP, Qt::LeftButton);
        QCOMPARE(s->labend->text(), QStringLiteral("1"));
        QVERIFY(!s->cmdexit->isEnabled());
        QVERIFY(s->tb->isActive());
        s->close(); // the window stays while the copy runs
        QVERIFY(s->isVisible());
        s->tb->setInterval(5); // the test need not wait the ten seconds the bar takes
        QTRY_VERIFY_WITH_TIMEOUT(s->pb1->value() >= 21, 5000);
        QVERIFY(db().isOpen());
        QTRY_VERIFY_WITH_TIMEOUT(s->pb1->isHidden(), 120000);
        QVERIFY(db().isOpen());
        QCOMPARE(s->labmessage->text(), kFinished);
        QVERIFY(s->cmdexit->isEnabled());
        for (const QString &location : {m_back1, m_back2}) {
            const QString copy = location + QStringLiteral("/2026-3-14-10-20-30/Land_Data.MDF");
            QVERIFY2(backupKind(copy) != BackupKind::Unknown, qPrintable(copy));
        }
        QCOMPARE(m_base.ended(), 0);
        QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        QCOMPARE(m_base.ended(), 1);
    }

    // Another client holds the register: copy 2 gives up within the bounded wait with a clear message,
    // the window answers meanwhile, no bar stays on screen and nothing is logged.
    void copy2OnAHeldRegister()
    {
        settingsRow(m_back1 + QLatin1Char('/'), m_back2 + QLatin1Char('/'));
        frmbackup_m *s = openBackup();
        // The main menu's own check would wait for the held register on this thread: not what is tested.
        m_home->timbackup->stop();
        DbSession other(QStringLiteral("other"));
        QVERIFY(other.connect_db());
        QSqlQuery hold(other.database());
        if (test::backend() == test::Backend::PostgreSQL) {
            QVERIFY(hold.exec(QStringLiteral("BEGIN")));
            QVERIFY(hold.exec(QStringLiteral("LOCK TABLE land IN ACCESS EXCLUSIVE MODE")));
        } else {
            QVERIFY(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(hold.exec(QStringLiteral("INSERT INTO backup_d (backup_w) VALUES ('held')")));
        }
        int beats = 0;
        QTimer beat;
        beat.setInterval(100);
        connect(&beat, &QTimer::timeout, [&] { ++beats; });
        beat.start();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->cmdbackup1, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(answers.answered(), 1, 20000);
        QVERIFY2(beats >= 50, qPrintable(QString::number(beats)));
        QCOMPARE(answers.text(0), BackupResult::registerBusyNotice());
        hold.exec(QStringLiteral("ROLLBACK"));
        QVERIFY(s->pb2->isHidden());
        QCOMPARE(s->labmessage->text(), backupFailedNotice());
        QCOMPARE(test::count(QStringLiteral("backup_d")), 0);
        QVERIFY(QDir(m_back1).isEmpty());
        QVERIFY(QDir(m_back2).isEmpty());
    }

    void notTheServerMayNotBackUp()
    {
        settingsRow(m_back1 + QLatin1Char('/'), m_back2 + QLatin1Char('/'));
        m_home->labbb->setText(QStringLiteral("2"));
        frmbackup_m *s = openBackup();
        QVERIFY(!s->CMDBACKUP->isEnabled());
        QVERIFY(!s->cmdbackup1->isEnabled());
    }
};

QTEST_MAIN(tst_backupscreens)
#include "tst_backupscreens.moc"
