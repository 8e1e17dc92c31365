#include "shell/frmhome.h"

#include "admin/backupschedule.h"
#include "base/clock.h"
#include "base/dbsession.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messages.h"
#include "ui/twipsgeometry.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <array>
#include <vector>

namespace parcelon {
namespace {
QPointer<frmhome> g_home;

QString &updaterPath()
{
    static QString path;
    return path;
}

constexpr int kColumnWidth = 3600;
constexpr int kMaxColumnWidth = 6000;
constexpr int kButtonHeight = 600;
constexpr int kColumnGap = 1000;
constexpr int kMinColumnGap = 200;
// The administration frame is wider than its buttons by this much, half on each side.
constexpr int kFrameMargin = 240;

// The menu's buttons are the kit's buttons at the column's size; they are laid out on every activation.
QPushButton *menuButton(QWidget *parent, const char *name, const QString &caption)
{
    return button(parent, name, caption, {0, 0, kColumnWidth, kButtonHeight});
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, int width, int height, const QFont &font)
{
    QLabel *label = captionLabel(parent, name, text, {0, 0, width, height});
    label->setFont(font);
    return label;
}
} // namespace

frmhome *frmhome::open()
{
    if (!g_home)
        g_home = new frmhome;
    return g_home;
}

frmhome *frmhome::current() { return g_home; }

frmhome::frmhome()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmhome"));
    setWindowTitle(QStringLiteral("Parcelon"));
    build();
    Home::setInstance(this);
    Form_Load();
}

frmhome::~frmhome()
{
    if (Home::instance() == this)
        Home::setInstance(nullptr);
}

void frmhome::build()
{
    setBackground(this, colours::work);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());

    img1 = named(this, "img1", new QLabel);
    img1->setScaledContents(true);

    const QFont latin = latinFont(10);
    cmdexit = named(this, "cmdexit", new QPushButton(QStringLiteral("X")));
    cmdexit->setToolTip(QStringLiteral("Close"));
    cmdminimaze = named(this, "cmdminimaze", new QPushButton(QStringLiteral("_")));
    cmdminimaze->setToolTip(QStringLiteral("Minimized"));
    for (QPushButton *b : {cmdexit, cmdminimaze}) {
        b->setFont(latinFont(10, true));
        b->setAutoDefault(false);
        tw::place(b, 0, 0, 495, 375);
    }

    labname = caption(this, "labname", QString(), 6000, 600, parasFont(18));
    titleBand(labname, colours::homeBand);
    labnew = caption(this, "labnew", QStringLiteral("kj"), kColumnWidth, 450, parasFont(16));
    labsettting = caption(this, "labsettting", QStringLiteral("ieliSu"), kColumnWidth, 450, parasFont(16));
    labreport = caption(this, "labreport", QStringLiteral("jd¾;d"), kColumnWidth, 450, parasFont(16));

    frasakasima = named(this, "frasakasima", new QFrame);
    frasakasima->setFrameShape(QFrame::Box);
    setBackground(frasakasima, colours::work);
    tw::place(frasakasima, 0, 0, kColumnWidth + kFrameMargin, 4 * (kButtonHeight + 150) + 210);

    cmdlandowner = menuButton(this, "cmdlandowner", QStringLiteral("bvñ ysñlre"));
    cmdland = menuButton(this, "cmdland", QStringLiteral("bvus"));
    cmdland_chand = menuButton(this, "cmdland_chand", QStringLiteral("bvfñ ysñ lre fjkia lsÍu"));
    cmdland_pewarima = menuButton(this, "cmdland_pewarima", QStringLiteral("bvï neyer lsÍu yd mejeÍu"));
    cmdgama = menuButton(this, "cmdgama", QStringLiteral(".%dïh jiñ yd .ï "));
    cmdpasuhimikam_pewarima = menuButton(this, "cmdpasuhimikam_pewarima", QStringLiteral("miq ysñlu ioyd bvu mejeßu"));
    cmdland_owner_report = menuButton(this, "cmdland_owner_report", QStringLiteral("bvñ ysñhkaf.a kdu f,aLKh"));
    cmdland_report = menuButton(this, "cmdland_report", QStringLiteral("bvï ms<sno ish¨u úia;r "));
    cmdland_balapath_report = menuButton(this, "cmdland_balapath_report", QStringLiteral("n,m;% fjkia lsßu j¾;dj"));
    cmdland_landowner_report
        = menuButton(this, "cmdland_landowner_report", QStringLiteral("bvu yd bvï ysñhd ms<sno jd¾:dj"));
    cmdpawarim_report = menuButton(this, "cmdpawarim_report", QStringLiteral("miq ysñlï jd¾:d"));

    cmbuser = menuButton(frasakasima, "cmbuser", QStringLiteral("l%shdlre ielisu"));
    cmdbackup = menuButton(frasakasima, "cmdbackup", QStringLiteral("o;a; .nvd msgm;a"));
    cmddelect_all = menuButton(frasakasima, "cmddelect_all", QStringLiteral("ish¨u bvñ yd bvñ ysñhka bj;a lsßu"));
    cmddetels = menuButton(frasakasima, "cmddetels", QStringLiteral("wdh;kh úia;r"));
    int top = 150;
    for (QPushButton *b : {cmddelect_all, cmdbackup, cmbuser, cmddetels}) {
        tw::place(b, kFrameMargin / 2, top, kColumnWidth, kButtonHeight);
        top += kButtonHeight + 150;
    }

    labusername1 = caption(this, "labusername1", QStringLiteral("l%shdlre"), 1100, 360, parasFont(12));
    labusername = caption(this, "labusername", QString(), 2400, 360, latinFont(11, true));
    labdate1 = caption(this, "labdate1", QStringLiteral("Èkh"), 600, 360, parasFont(12));
    labdate = caption(this, "labdate", QString(), 1500, 360, latinFont(11, true));
    labtime1 = caption(this, "labtime1", QStringLiteral("fú,dj"), 900, 360, parasFont(12));
    labtime2 = caption(this, "labtime2", QString(), 1500, 360, latinFont(11, true));
    labmessage = caption(this, "labmessage", QString(), 3000, 360, latinFont(11, true));
    setBackground(labmessage, colours::attention);
    labmessage->hide();

    cmdbacku = menuButton(this, "cmdbacku", QStringLiteral("o;a; .nvdfjs msgm;a ,nd .ekSu"));
    cmdhelp = menuButton(this, "cmdhelp", QStringLiteral("uDÿldx. Wojq"));
    cmdnew_version = named(this, "cmdnew_version", new QPushButton(QStringLiteral("New Version")));
    cmdnew_version->setFont(latin);
    cmdnew_version->setAutoDefault(false);
    tw::place(cmdnew_version, 0, 0, 1500, 375);
    tw::place(cmdbacku, 0, 0, kColumnWidth, kButtonHeight);
    tw::place(cmdhelp, 0, 0, kColumnWidth, kButtonHeight);

    labuser_srno = hiddenLabel(this, "labuser_srno");
    labbb = hiddenLabel(this, "labbb");
    labtime = hiddenLabel(this, "labtime");
    labtime_backup = hiddenLabel(this, "labtime_backup");
    labcou = hiddenLabel(this, "labcou");
    ll = hiddenLabel(this, "ll");
    pb1 = named(this, "pb1", new QProgressBar);
    pb1->setRange(0, 300);
    pb1->setValue(0);
    pb1->hide();

    txttra = named(this, "txttra", new QLineEdit);
    txttra->setReadOnly(true);
    txttra->setFocusPolicy(Qt::NoFocus);
    txttra->setStyleSheet(
        QStringLiteral("background-color: %1; border: none;").arg(colours::styleSheetColour(colours::shade)));
    txttra->hide();
    txttra->resize(0, 0);

    tim1 = new QTimer(this);
    tim1->setObjectName(QStringLiteral("tim1"));
    tim1->setInterval(1000);
    connect(tim1, &QTimer::timeout, this, &frmhome::tim1_Timer);
    tt = new QTimer(this);
    tt->setObjectName(QStringLiteral("tt"));
    tt->setInterval(1000);
    connect(tt, &QTimer::timeout, this, &frmhome::tt_Timer);
    timbackup = new QTimer(this);
    timbackup->setObjectName(QStringLiteral("timbackup"));
    timbackup->setInterval(1000);
    connect(timbackup, &QTimer::timeout, this, &frmhome::timbackup_Timer);
    m_scheduled = new ScheduledBackup(this);

    connect(cmdexit, &QPushButton::clicked, this, [] { endApplication(); });
    connect(cmdminimaze, &QPushButton::clicked, this, [this] { showMinimized(); });
    connect(cmdnew_version, &QPushButton::clicked, this, &frmhome::cmdnew_version_Click);
    for (const MenuEntry &entry : menu()) {
        QPushButton *button = this->*entry.button;
        connect(button, &QPushButton::clicked, this, [this, entry] {
            if (entry.flag)
                gate(*entry.flag, entry.screen);
            else if (entry.administrator && !isAdministrator(labusername->text()))
                message(this, QStringLiteral("Tng wjir fkdue;"));
            else
                guarded(this, [this, entry] { Screens::open(entry.screen, this); });
        });
    }

    applyAccessibility(this);
}

const std::vector<frmhome::MenuEntry> &frmhome::menu()
{
    static const std::vector<MenuEntry> entries = {
        {&frmhome::cmdlandowner, Flag::LandOwners, ScreenId::frmlandoner},
        {&frmhome::cmdland, Flag::Lands, ScreenId::frmland},
        {&frmhome::cmdland_chand, Flag::PermitChange, ScreenId::frmland_change},
        {&frmhome::cmdland_pewarima, Flag::Transfer, ScreenId::frmland_pewarima},
        {&frmhome::cmdgama, Flag::Divisions, ScreenId::frmgamase_wasam},
        {&frmhome::cmdpasuhimikam_pewarima, Flag::Succession, ScreenId::frmpasuhimika_change},
        {&frmhome::cmdland_owner_report, Flag::OwnerReport, ScreenId::frmlandowner_report},
        {&frmhome::cmdland_report, Flag::LandReport, ScreenId::frmland_report},
        {&frmhome::cmdland_balapath_report, Flag::PermitReport, ScreenId::frmland_balapath_report},
        {&frmhome::cmdland_landowner_report, Flag::OneLandReport, ScreenId::frmland_one_report},
        {&frmhome::cmdpawarim_report, Flag::SuccessorReport, ScreenId::frmpawarim_wartha},
        // Administration has no flag. The accounts screen keeps its own rules, and any clerk may take a
        // backup; the backup settings, emptying the register and the office details are the
        // administrator's.
        {&frmhome::cmbuser, std::nullopt, ScreenId::frmuser},
        {&frmhome::cmdbackup, std::nullopt, ScreenId::FRMBACKUP, true},
        {&frmhome::cmddelect_all, std::nullopt, ScreenId::frmdelect_all, true},
        {&frmhome::cmddetels, std::nullopt, ScreenId::FRMDETELS, true},
        {&frmhome::cmdbacku, std::nullopt, ScreenId::frmbackup_m},
        {&frmhome::cmdhelp, std::nullopt, ScreenId::frmdetel_ct},
    };
    return entries;
}

void frmhome::Form_Load()
{
    guarded(this, [this] {
        db().connect_db(); // opened by the login already; a second call changes nothing
        labname->setText(db().scalar(QStringLiteral("SELECT name FROM detels ORDER BY srno")));
        m_shownAt = Clock::now();
        labdate->setText(Clock::shortDate());
        labtime->setText(Clock::longTime());
        labtime2->setText(Clock::longTime());
        // Backups run only where the register itself lives.
        labbb->setText(registerIsOnThisMachine(db().dataSource()) ? QStringLiteral("1") : QStringLiteral("2"));
    });
    tim1->start();
    timbackup->start();
}

bool frmhome::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        Form_Activate();
    return handled;
}

void frmhome::Form_Activate()
{
    const int menuWidth = toTwips(width());
    const int menuHeight = toTwips(height());
    const int menuLeft = toTwips(x());
    const int menuTop = toTwips(y());
    const int screenWidth = screenWidthTwips();
    const int screenHeight = screenHeightTwips();

    tw::setLeft(cmdexit, menuWidth - (tw::width(cmdexit) + 200));
    tw::setTop(cmdexit, menuTop + 200);
    tw::setLeft(cmdminimaze, tw::left(cmdexit) - tw::width(cmdminimaze) - 100);
    tw::setTop(cmdminimaze, tw::top(cmdexit));
    tw::setLeft(labname, menuLeft + 200);
    tw::setTop(labname, tw::top(cmdexit));
    tw::setWidth(labname, tw::left(cmdminimaze) - tw::left(labname) - 200);
    // Three columns: the register on the left, the reports, and the administration frame whose right
    // edge lines up with the close button. Each column is as wide as the widest caption it holds needs,
    // and at least its share of the width, so captions fit on a small screen and the columns spread on a
    // wide one; the reports keep 1000 twips from the frame while there is room.
    const std::array<std::vector<QWidget *>, 3> columns = {{
        {labnew, cmdlandowner, cmdland, cmdland_chand, cmdland_pewarima, cmdgama, cmdpasuhimikam_pewarima},
        {labreport, cmdland_owner_report, cmdland_report, cmdland_balapath_report, cmdland_landowner_report,
            cmdpawarim_report},
        {labsettting, cmbuser, cmdbackup, cmddelect_all, cmddetels, cmdbacku, cmdhelp},
    }};
    const int contentRight = tw::right(cmdexit);
    const int available = contentRight - tw::left(labname) - kFrameMargin;
    const int share = std::min((available - 2 * kColumnGap) / 3, kMaxColumnWidth);
    std::array<int, 3> columnWidth {};
    for (size_t i = 0; i < columns.size(); ++i) {
        columnWidth[i] = std::max(kColumnWidth, share);
        for (QWidget *w : columns[i])
            columnWidth[i] = std::max(columnWidth[i], toTwips(w->sizeHint().width()));
    }
    const int needed = columnWidth[0] + columnWidth[1] + columnWidth[2];
    int gap = std::min(kColumnGap, (available - needed) / 2);
    if (gap < kMinColumnGap) {
        // Not even the captions fit: narrow every column alike rather than let them overlap.
        gap = kMinColumnGap;
        const int room = available - 2 * gap;
        for (int &w : columnWidth)
            w = int(qint64(w) * room / needed);
    }
    for (size_t i = 0; i < columns.size(); ++i) {
        for (QWidget *w : columns[i])
            tw::setWidth(w, columnWidth[i]);
    }
    tw::setWidth(frasakasima, columnWidth[2] + kFrameMargin);
    tw::setLeft(labnew, tw::left(labname));
    tw::setTop(labnew, tw::bottom(labname) + 200);
    tw::setLeft(labsettting, contentRight - columnWidth[2] - kFrameMargin);
    tw::setTop(labsettting, tw::top(labnew));
    tw::setTop(labreport, tw::top(labnew));
    tw::setLeft(labreport, contentRight - tw::width(frasakasima) - gap - columnWidth[1]);
    tw::setLeft(frasakasima, contentRight - tw::width(frasakasima));
    tw::setTop(frasakasima, tw::bottom(labsettting) + 200);

    tw::setLeft(cmdlandowner, tw::left(labnew));
    tw::setTop(cmdlandowner, tw::top(frasakasima));
    QPushButton *previous = cmdlandowner;
    for (QPushButton *b : {cmdland, cmdland_chand, cmdland_pewarima, cmdgama, cmdpasuhimikam_pewarima}) {
        tw::setLeft(b, tw::left(cmdlandowner));
        tw::setTop(b, tw::bottom(previous) + 200);
        previous = b;
    }
    const std::array<std::pair<QPushButton *, QPushButton *>, 5> reports
        = {{{cmdland_owner_report, cmdlandowner}, {cmdland_report, cmdland}, {cmdland_balapath_report, cmdland_chand},
            {cmdland_landowner_report, cmdland_pewarima}, {cmdpawarim_report, cmdgama}}};
    for (const auto &[report, beside] : reports) {
        tw::setLeft(report, tw::left(labreport));
        tw::setTop(report, tw::top(beside));
    }

    tw::setLeft(labusername1, tw::left(labname));
    tw::setTop(labusername1, menuHeight - tw::height(labusername1) - 100);
    const std::array<std::pair<QLabel *, int>, 5> line
        = {{{labusername, 50}, {labdate1, 200}, {labdate, 50}, {labtime1, 200}, {labtime2, 50}}};
    QWidget *before = labusername1;
    for (const auto &[label, gap] : line) {
        tw::setLeft(label, tw::right(before) + gap);
        tw::setTop(label, tw::top(labusername1));
        before = label;
    }
    tw::setLeft(labmessage, tw::right(labtime2) + 200);
    tw::setTop(labmessage, tw::top(labtime1));

    tw::setLeft(cmdbacku, screenWidth - tw::width(cmdbacku) - 200);
    tw::setTop(cmdbacku, tw::top(labdate) - tw::height(cmdbacku) - 500);
    tw::setLeft(cmdhelp, tw::left(cmdbacku));
    tw::setTop(cmdhelp, tw::top(cmdbacku) - tw::height(cmdhelp) - 200);
    tw::setLeft(cmdnew_version, screenWidth - tw::width(cmdnew_version) - 200);
    tw::setTop(cmdnew_version, screenHeight - tw::height(cmdnew_version) - 200);
    tw::place(img1, 0, 0, menuWidth, menuHeight);
    img1->lower();
}

void frmhome::gate(Flag flag, ScreenId screen)
{
    guarded(this, [this, flag, screen] {
        // Only a flag that begins with "1" refuses; a user without a permission row has level 1
        // everywhere, and so does a row whose flag is empty.
        const QString value = permissionFlag(labuser_srno->text(), flag);
        if (value.isEmpty() || value.startsWith(QLatin1Char('1'))) {
            message(this, QStringLiteral("Tng wjir fkdue;"));
            return;
        }
        Screens::open(screen, this);
    });
}

void frmhome::tim1_Timer() { labtime2->setText(Clock::longTime()); }

void frmhome::showNotice(const QString &text)
{
    labmessage->setText(text);
    setBackground(labmessage, colours::attention);
    labmessage->show();
    pb1->setValue(0);
    tt->start();
}

void frmhome::tt_Timer()
{
    if (pb1->value() == pb1->maximum()) {
        tt->stop();
        labmessage->hide();
    } else {
        pb1->setValue(pb1->value() + 1);
        setBackground(labmessage, background(labmessage) == colours::attention ? colours::blink : colours::attention);
    }
    ll->setText(QString::number(pb1->value()));
}

void frmhome::timbackup_Timer()
{
    // While the backup screen's file copy holds the register closed there is nothing to check.
    if (!db().isOpen())
        return;
    BackupSchedule::Tick tick;
    try {
        tick = m_scheduled->tick(
            labbb->text() == QLatin1String("1"), [this](const BackupSchedule::Tick &ended) { showBackupTick(ended); });
    } catch (const DbError &error) {
        // The register did not answer: like a failed backup, tried again after the retry interval.
        tick.outcome = BackupSchedule::Outcome::Failed;
        tick.time = Clock::dbTime();
        tick.error = error.description;
    }
    showBackupTick(tick);
}

void frmhome::showBackupTick(const BackupSchedule::Tick &tick)
{
    if (tick.outcome == BackupSchedule::Outcome::NotServer)
        return;
    labtime->setText(tick.time);
    m_shownAt = Clock::now();
    if (!tick.backupTime.isEmpty())
        labtime_backup->setText(tick.backupTime);
    if (!tick.number.isEmpty())
        labcou->setText(tick.number);
    if (tick.outcome == BackupSchedule::Outcome::Running) {
        // The backup runs on a worker thread: its progress stands in the status until it ends.
        if (labmessage->text() != backupRunningNotice() || labmessage->isHidden()) {
            tt->stop();
            labmessage->setText(backupRunningNotice());
            labmessage->setToolTip(tick.file);
            setBackground(labmessage, colours::attention);
            labmessage->show();
        }
    } else if (tick.outcome == BackupSchedule::Outcome::Done) {
        labmessage->setToolTip(tick.file);
        showNotice(backupDoneNotice());
    } else if (tick.outcome == BackupSchedule::Outcome::Failed) {
        labmessage->setToolTip(tick.error);
        showNotice(tick.busy ? backupFailedNotice() + QStringLiteral(": ") + BackupResult::registerBusyNotice()
                             : backupFailedNotice());
    }
    if (!BackupSchedule::keepsTicking(tick.outcome))
        timbackup->stop();
}

void frmhome::setUpdater(const QString &path) { updaterPath() = path; }

void frmhome::cmdnew_version_Click()
{
    // The updater sits beside the application; without it the menu simply stays.
    const QString updater = updaterPath().isEmpty()
        ? QCoreApplication::applicationDirPath() + QStringLiteral("/parcelon-update")
        : updaterPath();
    if (QFileInfo(updater).isExecutable() && QProcess::startDetached(updater, {}))
        endApplication();
}

QString frmhome::userName() const { return labusername->text(); }
QString frmhome::userSrno() const { return labuser_srno->text(); }
QString frmhome::date() const { return labdate->text(); }
QString frmhome::time() const { return labtime->text(); }
QDateTime frmhome::shownAt() const { return m_shownAt; }

void frmhome::setBlocked(bool blocked)
{
    if (blocked) {
        txttra->setGeometry(rect());
        txttra->show();
        txttra->raise();
    } else {
        txttra->hide();
        txttra->resize(0, 0);
    }
}

} // namespace parcelon
