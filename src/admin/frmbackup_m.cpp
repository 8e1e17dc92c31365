#include "admin/frmbackup_m.h"

#include "admin/backupschedule.h"
#include "base/background.h"
#include "base/clock.h"
#include "base/dbsession.h"
#include "base/home.h"
#include "ui/accessibility.h"
#include "ui/application.h"
#include "ui/failure.h"
#include "ui/folderlist.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messagebox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace parcelon {
namespace {
const QString kStarted = QStringLiteral("o;a; msgm;a ú wdrïN úh");
const QString kFinished = QStringLiteral("o;a; msgm;a ú wjidkhs");
const QString kOneStarted = QStringLiteral("o;a; msgm;a 1 wdrïN úh");
const QString kOneFinished = QStringLiteral("o;a; msgm;a 1 wjidk úh");
const QString kTwoStarted = QStringLiteral("o;a; msgm;a 2 wdrïN úh");
const QString kTwoFinished = QStringLiteral("o;a; msgm;a 2 wjidk úh");

// The screen's notices; the tests know them by the name.
void notice(QWidget *parent, const QString &text, const QString &title)
{
    messageBox(parent, title, text, {MessageButtons::Ok, MessageKind::Notice, QStringLiteral("msgbox")});
}

QRadioButton *option(QWidget *parent, const char *name, const QString &caption, Twips at)
{
    return control(parent, new QRadioButton(caption), name, at.left, at.top, at.width, at.height);
}

QProgressBar *progress(QWidget *parent, const char *name, Twips at)
{
    auto *bar = control(parent, new QProgressBar, name, at.left, at.top, at.width, at.height);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->hide();
    return bar;
}

// The main menu's word on whether this is the server machine; without a main menu, the same test.
bool serverMachine()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->objectName() == QLatin1String("frmhome"))
            if (auto *labbb = window->findChild<QLabel *>(QStringLiteral("labbb")))
                return labbb->text() != QLatin1String("2");
    }
    return registerIsOnThisMachine(db().dataSource());
}
} // namespace

frmbackup_m::frmbackup_m(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void frmbackup_m::build()
{
    setObjectName(QStringLiteral("frmbackup_m"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(11));
    setFixedSize(twips(9840), twips(7920));

    labname = captionLabel(this, "labname", QString(), {0, 0, 9840, 660});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    labdate1 = captionLabel(this, "labdate1", QStringLiteral(" Èkh"), {120, 780, 1000, 330});
    labdate = valueLabel(this, "labdate", {1180, 780, 2400, 330}, colours::backupValue);
    labtime1 = captionLabel(this, "labtime1", QStringLiteral(" fú,dj"), {3720, 780, 1000, 330});
    labtime = valueLabel(this, "labtime", {4780, 780, 2400, 330}, colours::backupValue);
    for (QLabel *date : {labdate, labtime})
        date->setFont(latinFont(9));

    folders = new FolderList(this, {120, 1320, 3360, 330}, {120, 1760, 2920, 330}, {3080, 1760, 400, 330});
    dri = folders->dri;
    Dir = folders->Dir;
    cmdbrowse = folders->cmdbrowse;

    optbp1 = option(this, "optbp1", QStringLiteral("o;a; .nvdj msgm;a jk ia:dkh 1"), {3720, 1300, 6000, 360});
    optbp2 = option(this, "optbp2", QStringLiteral("o;a; .nvdj msgm;a jk ia:dkh 2"), {3720, 1720, 6000, 360});
    labbp1 = captionLabel(this, "labbp1", QStringLiteral(" msgm;a ia:dkh 1"), {120, 2400, 2400, 330});
    labbackup1 = valueLabel(this, "labbackup1", {2580, 2400, 7140, 330}, colours::normal);
    labbp2 = captionLabel(this, "labbp2", QStringLiteral(" msgm;a ia:dkh 2"), {120, 2860, 2400, 330});
    labbackup2 = valueLabel(this, "labbackup2", {2580, 2860, 7140, 330}, colours::normal);
    for (QLabel *path : {labbackup1, labbackup2})
        path->setFont(latinFont(9));

    Frame1 = control(this, new QFrame, "Frame1", 120, 3420, 4740, 2400);
    Frame1->setFrameShape(QFrame::Box);
    CMDBACKUP = button(Frame1, "CMDBACKUP", QStringLiteral("o;a; msgm;a  1"), {240, 360, 4260, 720});
    pb1 = progress(Frame1, "pb1", {240, 1500, 4260, 360});
    Frame2 = control(this, new QFrame, "Frame2", 4980, 3420, 4740, 2400);
    Frame2->setFrameShape(QFrame::Box);
    cmdbackup1 = button(Frame2, "cmdbackup1", QStringLiteral("o;a; msgm;a  2"), {240, 360, 4260, 720});
    pb2 = progress(Frame2, "pb2", {240, 1500, 4260, 360});

    labmessage1 = captionLabel(this, "labmessage1", QStringLiteral(" mKsúvh  -"), {120, 6060, 1600, 360});
    labmessage = captionLabel(this, "labmessage", QString(), {1780, 6060, 7940, 360});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {7800, 7200, 1920, 480});

    tb = new QTimer(this);
    tb->setObjectName(QStringLiteral("tb"));
    tb->setInterval(100);
    tt = new QTimer(this);
    tt->setObjectName(QStringLiteral("tt"));
    tt->setInterval(1000);
    labend = hiddenLabel(this, "labend");
    labnow = hiddenLabel(this, "labnow");
    ff = hiddenLabel(this, "ff");
    labserver = hiddenLabel(this, "labserver");
    labdata = hiddenLabel(this, "labdata");
    for (QLabel *data : {labend, labnow, ff, labserver, labdata})
        data->setFont(latinFont(9));

    applyKeyPolicy(this, cmdexit);
    m_worker = new Background(this);
    m_creep = new QTimer(this);
    m_creep->setInterval(100);
    connect(m_creep, &QTimer::timeout, this, &frmbackup_m::creep);
    connect(tb, &QTimer::timeout, this, &frmbackup_m::tb_Timer);
    connect(tt, &QTimer::timeout, this, &frmbackup_m::tt_Timer);
    connect(folders, &FolderList::dirChanged, this, &frmbackup_m::Dir_Change);
    connect(CMDBACKUP, &QPushButton::clicked, this, &frmbackup_m::CMDBACKUP_Click);
    connect(cmdbackup1, &QPushButton::clicked, this, &frmbackup_m::cmdbackup1_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmbackup_m::cmdexit_Click);

    applyAccessibility(this, {{"labbp1", "labbackup1"}, {"labbp2", "labbackup2"}});
}

void frmbackup_m::setMessage(const QString &legacyText)
{
    labmessage->setFont(parasFont(11));
    labmessage->setText(legacyText);
}

void frmbackup_m::setFailure(const QString &text)
{
    m_failed = true;
    labmessage->setFont(latinFont(9, true));
    labmessage->setText(text);
}

void frmbackup_m::Form_Load()
{
    center_form(this);
    setBackground(this, colours::backupScreen);
    for (QLabel *caption : {labdate1, labtime1})
        setBackground(caption, colours::backupCaption);
    for (QWidget *frame : std::initializer_list<QWidget *> {Frame1, Frame2})
        setBackground(frame, background(this));
    m_shown = Clock::now();
    labdate->setText(Clock::shortDate());
    labtime->setText(Clock::longTime());
    tt->start();
    guarded(this, [this] {
        labname->setText(db().scalar(QStringLiteral("SELECT name FROM detels ORDER BY srno")));
        const bool onServer = serverMachine();
        CMDBACKUP->setEnabled(onServer);
        cmdbackup1->setEnabled(onServer);
        optbp1->setChecked(true);
        std::optional<Query> row = db().first(QStringLiteral("SELECT * FROM backup_settind ORDER BY srno DESC"));
        if (!row)
            return;
        labbackup1->setText(row->value(QStringLiteral("back1")));
        labbackup2->setText(row->value(QStringLiteral("back2")));
        const QDateTime now = Clock::now();
        labnow->setText(now.toString(QStringLiteral("yyyy-M-d-H-m-s")));
        ff->setText(now.toString(QStringLiteral("yyyyMdHms")));
        const ServerAdmin server(db());
        labserver->setText(server.name());
        labdata->setText(row->value(QStringLiteral("database_path")));
        // Copy 1 only where the register's own server runs: elsewhere the button says why it rests.
        const QString refusal = server.fileCopyRefusal();
        if (!refusal.isEmpty() && CMDBACKUP->isEnabled()) {
            CMDBACKUP->setEnabled(false);
            CMDBACKUP->setToolTip(refusal);
            setFailure(refusal);
            m_failed = false;
        }
        if (!folders->setPath(labbackup1->text())) {
            notice(this, QStringLiteral("Backup path invaild"), QStringLiteral("message"));
            setBackground(labbackup1, colours::attention);
        }
    });
}

void frmbackup_m::closeEvent(QCloseEvent *event)
{
    // A backup under way ends first: the screen shows how it went.
    if (tb->isActive() || m_worker->isRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmbackup_m::labbackup1_Change() { setBackground(labbackup1, colours::normal); }

void frmbackup_m::Dir_Change(const QString &path)
{
    if (optbp1->isChecked()) {
        labbackup1->setText(path);
        labbackup1_Change();
    } else {
        labbackup2->setText(path);
    }
}

void frmbackup_m::tt_Timer()
{
    m_shown = Clock::now();
    labtime->setText(Clock::longTime());
}

void frmbackup_m::cmdexit_Click()
{
    if (labend->text() == QLatin1String("1"))
        endApplication();
    else
        close();
}

void frmbackup_m::CMDBACKUP_Click()
{
    setBackground(CMDBACKUP, colours::attention);
    CMDBACKUP->setEnabled(false);
    cmdexit->setEnabled(false);
    labend->setText(QStringLiteral("1"));
    m_failed = false;
    const QString refusal = ServerAdmin(db()).fileCopyRefusal();
    if (!refusal.isEmpty()) {
        setFailure(backupFailedNotice());
        notice(this, refusal, QStringLiteral("Message"));
    }
    pb1->setValue(0);
    pb1->show();
    tb->start();
}

void frmbackup_m::copyInto(const QString &location, const QString &message)
{
    setMessage(message);
    if (location.isEmpty() || !QFileInfo(location).isDir()) {
        setFailure(backupFailedNotice());
        notice(this, QStringLiteral("No File Path"), QStringLiteral("Backup"));
        return;
    }
    const ServerAdmin server(db());
    const QString folder = locationFile(location, labnow->text());
    m_worker->run([server, folder] { return server.copyFiles(folder); },
        [this, message](const BackupResult &copied) {
            if (copied.ok) {
                if (!m_failed)
                    setMessage(message);
                return;
            }
            setFailure(backupFailedNotice());
            notice(this, copied.error, QStringLiteral("Message"));
        });
}

void frmbackup_m::tb_Timer()
{
    if (pb1->value() == 100) {
        tb->stop();
        pb1->hide();
        cmdexit->setEnabled(true);
        if (m_failed)
            setFailure(backupFailedNotice());
        else
            setMessage(kFinished);
        return;
    }
    // The bar moves on while a copy runs, up to the end of its step, and waits there for the copy.
    if (m_worker->isRunning() && pb1->value() % 10 == 9)
        return;
    pb1->setValue(pb1->value() + 1);
    switch (pb1->value()) {
    case 20:
        copyInto(labbackup1->text(), kOneStarted);
        break;
    case 30:
        copyInto(labbackup2->text(), kTwoStarted);
        break;
    case 40:
        // Nothing was stopped: the register stayed open to every workstation while it was copied.
        if (!m_failed)
            setMessage(kStarted);
        break;
    default:
        break;
    }
}

namespace {
struct Copy2
{
    BackupResult made; // the backup in location 1
    BackupResult copied; // its copy in location 2
};

// What the clerk is told when the register refused the log row.
QString logRefusal(const DbError &error)
{
    const QString said = error.description.toLower();
    return said.contains(QLatin1String("locked")) || said.contains(QLatin1String("lock timeout"))
        ? BackupResult::registerBusyNotice()
        : error.description;
}
} // namespace

void frmbackup_m::cmdbackup1_Click()
{
    pb2->show();
    pb2->setValue(1 + pb2->maximum() / 4);
    setBackground(cmdbackup1, colours::attention);
    cmdbackup1->setEnabled(false);
    m_failed = false;
    setMessage(kStarted);
    pb2->setValue(pb2->value() + pb2->maximum() / 4);
    const QString file = locationFile(labbackup1->text(), ff->text() + QStringLiteral(".dat"));
    setMessage(kOneStarted);
    if (labbackup1->text().isEmpty()) {
        pb2->hide();
        setFailure(backupFailedNotice());
        notice(this, QStringLiteral("No File Path"), QStringLiteral("Backup"));
        return;
    }
    pb2->setValue(pb2->value() + pb2->maximum() / 4);
    const ServerAdmin server(db());
    const QString second = labbackup2->text().isEmpty()
        ? QString()
        : locationFile(labbackup2->text(), ff->text() + QStringLiteral(".dat"));
    m_creep->start();
    m_worker->run(
        [server, file, second] {
            Copy2 result {server.backup(file), BackupResult::done()};
            if (result.made.ok && !second.isEmpty())
                result.copied = replaceWithCopy(file, second);
            return result;
        },
        [this](const Copy2 &result) {
            m_creep->stop();
            copy2Ended(result.made, result.copied);
        });
}

void frmbackup_m::creep()
{
    // The bar moves while the server works, short of its end.
    if (pb2->value() < pb2->maximum() - 1)
        pb2->setValue(pb2->value() + 1);
}

void frmbackup_m::copy2Ended(const BackupResult &made, const BackupResult &copied)
{
    if (!made.ok) {
        // Nothing was backed up: no log row, and the clerk is told why.
        pb2->hide();
        setFailure(backupFailedNotice());
        notice(this, made.error, QStringLiteral("Backup"));
        return;
    }
    setMessage(kOneFinished);
    try {
        db().execute(QStringLiteral("INSERT INTO backup_d (backup_w, backup_u, date, time, path, file_name, username) "
                                    "VALUES (' Backup ', ' Backup2 ', ?, ?, ?, 'Korvel_Data.MDF', ?)"),
            {m_shown.toString(QStringLiteral("yyyy/MM/dd")), m_shown.toString(QStringLiteral("hh:mm:ss")),
                labbackup1->text(), session::userName()});
    } catch (const DbError &error) {
        pb2->hide();
        setFailure(backupFailedNotice());
        notice(this,
            QStringLiteral("The backup was made and checked, but the register did not take its log row: %1")
                .arg(logRefusal(error)),
            QStringLiteral("Backup"));
        return;
    }
    setMessage(kTwoStarted);
    if (!copied.ok) {
        setFailure(backupFailedNotice());
        notice(this, copied.error, QStringLiteral("Backup"));
    }
    if (!m_failed) {
        setMessage(kTwoFinished);
        setMessage(kFinished);
    }
    pb2->setValue(pb2->maximum());
    pb2->hide();
}

} // namespace parcelon
