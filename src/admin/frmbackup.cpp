#include "admin/frmbackup.h"

#include "base/dbsession.h"
#include "base/serveradmin.h"
#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/folderlist.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace parcelon {
namespace {
const QString kYes = QStringLiteral("1 - Tõ");
const QString kNo = QStringLiteral("2 - ke;");
const QString kTimeFormat = QStringLiteral("hh:mm:ss");

QRadioButton *option(QWidget *parent, const char *name, const QString &caption, Twips at)
{
    auto *box = control(parent, new QRadioButton(caption), name, at.left, at.top, at.width, at.height);
    box->setFont(parasFont(11));
    return box;
}

QComboBox *typedList(QWidget *parent, const char *name, Twips at)
{
    QComboBox *list = dropDown(parent, name, at);
    list->setEditable(true); // whatever is shown is saved, typed or chosen
    list->lineEdit()->setMaxLength(kTextColumnLength);
    return list;
}
} // namespace

QString asLocation(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

FRMBACKUP::FRMBACKUP(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void FRMBACKUP::build()
{
    setObjectName(QStringLiteral("FRMBACKUP"));
    setWindowTitle(QStringLiteral("Backup"));
    setFont(parasFont(11));
    setFixedSize(twips(9840), twips(7680));

    // Where the copies go: the folder browser on the left, the two locations on the right.
    Frame1 = control(this, new QFrame, "Frame1", 120, 120, 9600, 4100);
    Frame1->setFrameShape(QFrame::Box);
    folders = new FolderList(Frame1, {120, 160, 3240, 330}, {120, 600, 2800, 330}, {2960, 600, 400, 330});
    dri = folders->dri;
    Dir = folders->Dir;
    cmdbrowse = folders->cmdbrowse;
    Label30 = captionLabel(Frame1, "Label30", QStringLiteral("Folder Name"), {120, 1100, 3240, 300});
    Label30->setFont(latinFont(9, true));
    txtnew_balder = textBox(Frame1, "txtnew_balder", {120, 1440, 3240, 330});
    txtnew_balder->setFont(latinFont(9));
    cmdnew_folder = button(Frame1, "cmdnew_folder", QStringLiteral("New Folder"), {120, 1880, 1800, 420});
    cmdnew_folder->setFont(latinFont(9, true));

    optpath1 = option(Frame1, "optpath1", QStringLiteral("o;a; .nvdj msgm;a jk ia:dkh 1"), {3600, 120, 5880, 360});
    optpath2 = option(Frame1, "optpath2", QStringLiteral("o;a; .nvdj msgm;a jk ia:dkh 2"), {3600, 520, 5880, 360});
    Label1 = captionLabel(Frame1, "Label1", QStringLiteral(" o;a; .nvdj msgm;a jk ia:dkh 1"), {3600, 940, 5880, 360});
    labpath = valueLabel(Frame1, "labpath", {3600, 1300, 5880, 330}, colours::normal);
    Label2 = captionLabel(Frame1, "Label2", QStringLiteral(" o;a; .nvdj msgm;a jk ia:dkh 2"), {3600, 1720, 5880, 360});
    labbackup_copy = valueLabel(Frame1, "labbackup_copy", {3600, 2100, 5880, 330}, colours::normal);
    Label7 = captionLabel(Frame1, "Label7", QStringLiteral(" o;a; .nvdfú msysá ia:dkh"), {3600, 2480, 5880, 360});
    txtdatabase = textBox(Frame1, "txtdatabase", {3600, 2860, 5880, 330});
    txtdatabase->setFont(latinFont(9));
    for (QLabel *path : {labpath, labbackup_copy})
        path->setFont(latinFont(9));

    // The automatic backup.
    fra2 = control(this, new QGroupBox(QStringLiteral("o;a; .nvdj msgm;a iajhxls%j")), "fra2", 120, 4340, 9600, 2440);
    Label6 = captionLabel(fra2, "Label6", QStringLiteral("iajhxl%sh o;a; msgm;a wjYh o"), {240, 440, 5400, 330});
    cmbbackp_awashada = typedList(fra2, "cmbbackp_awashada", {5760, 420, 3600, 360});
    Label3 = captionLabel(fra2, "Label3", QStringLiteral(" msgm; ,nd  .;a hq;= fjs,dj"), {240, 880, 5400, 330});
    dtbackp_time = control(fra2, new QTimeEdit, "dtbackp_time", 5760, 860, 3600, 360);
    dtbackp_time->setDisplayFormat(kTimeFormat);
    dtbackp_time->findChild<QLineEdit *>()->setMaxLength(kTimeFormat.size());
    dtbackp_time->setFont(latinFont(9));
    Label4 = captionLabel(fra2, "Label4", QStringLiteral(" msgm;a 2 ,nd .kafka o"), {240, 1320, 5400, 330});
    cmbbackp_2 = typedList(fra2, "cmbbackp_2", {5760, 1300, 3600, 360});
    Label5 = captionLabel(fra2, "Label5", QStringLiteral(" wvqu msgm;a ;snsh hq;= m%udKh"), {240, 1760, 5400, 330});
    cmbbackp_pamanaya = typedList(fra2, "cmbbackp_pamanaya", {5760, 1740, 3600, 360});

    cmdsave = button(this, "cmdsave", QStringLiteral("we;=,a lsrsu"), {5640, 6960, 1920, 480});
    Command2 = button(this, "Command2", QStringLiteral("msgjsu"), {7800, 6960, 1920, 480});
    labserver = hiddenLabel(this, "labserver");
    labserver->setFont(latinFont(9));

    applyKeyPolicy(this, Command2);
    connect(folders, &FolderList::dirChanged, this, &FRMBACKUP::Dir_Change);
    connect(cmdnew_folder, &QPushButton::clicked, this, &FRMBACKUP::cmdnew_folder_Click);
    connect(cmdsave, &QPushButton::clicked, this, &FRMBACKUP::cmdsave_Click);
    connect(Command2, &QPushButton::clicked, this, &FRMBACKUP::Command2_Click);
    connect(txtnew_balder, &QLineEdit::textChanged, this, [this] { markNormal(txtnew_balder); });

    applyAccessibility(this,
        {{"Label30", "txtnew_balder"}, {"Label7", "txtdatabase"}, {"Label6", "cmbbackp_awashada"},
            {"Label3", "dtbackp_time"}, {"Label4", "cmbbackp_2"}, {"Label5", "cmbbackp_pamanaya"}});
}

void FRMBACKUP::Form_Load()
{
    center_form(this);
    for (QWidget *frame : std::initializer_list<QWidget *> {Frame1, fra2})
        setBackground(frame, background(this));
    guarded(this, [this] {
        labserver->setText(ServerAdmin(db()).name());
        std::optional<Query> row = db().first(QStringLiteral("SELECT * FROM backup_settind ORDER BY srno DESC"));
        if (row) {
            cmbbackp_awashada->setEditText(row->value(QStringLiteral("auto_aw")));
            const QTime time = QTime::fromString(row->value(QStringLiteral("auto_time")), kTimeFormat);
            if (time.isValid())
                dtbackp_time->setTime(time);
            cmbbackp_2->setEditText(row->value(QStringLiteral("Auto_backku2")));
            cmbbackp_pamanaya->setEditText(row->value(QStringLiteral("Auto_backp_pamanaya")));
            txtdatabase->setText(row->value(QStringLiteral("database_path")));
            // A location 1 that no longer exists stays shown; the folder list stays where it was.
            optpath1->setChecked(true);
            folders->setPath(row->value(QStringLiteral("back1")));
            labpath->setText(row->value(QStringLiteral("back1")));
            labbackup_copy->setText(row->value(QStringLiteral("back2")));
        }
    });
    optpath1->setChecked(true);
    for (QComboBox *list : {cmbbackp_awashada, cmbbackp_2}) {
        const QString shown = list->currentText();
        list->addItems({kYes, kNo});
        list->setEditText(shown);
    }
    const QString keep = cmbbackp_pamanaya->currentText();
    for (int n = 1; n <= 100; ++n)
        cmbbackp_pamanaya->addItem(QString::number(n));
    cmbbackp_pamanaya->setEditText(keep);
}

void FRMBACKUP::Dir_Change(const QString &path)
{
    (optpath1->isChecked() ? labpath : labbackup_copy)->setText(asLocation(path));
}

void FRMBACKUP::cmdnew_folder_Click()
{
    if (txtnew_balder->text().isEmpty()) {
        markRed(txtnew_balder);
        return;
    }
    // A name that exists already, or that the file system refuses, turns the box red.
    const QString name = txtnew_balder->text();
    if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String("..")
        || !QDir(folders->path()).mkdir(name)) {
        markRed(txtnew_balder);
        return;
    }
    txtnew_balder->clear();
}

void FRMBACKUP::cmdsave_Click()
{
    guarded(this, [this] {
        db().execute(QStringLiteral("INSERT INTO backup_settind (back1, back2, auto_aw, auto_time, Auto_backku2, "
                                    "Auto_backp_pamanaya, database_path) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {labpath->text(), labbackup_copy->text(), cmbbackp_awashada->currentText(),
                dtbackp_time->time().toString(kTimeFormat), cmbbackp_2->currentText(), cmbbackp_pamanaya->currentText(),
                txtdatabase->text()});
        cmdsave->setEnabled(false); // one save per opening
    });
}

void FRMBACKUP::Command2_Click() { close(); }

} // namespace parcelon
