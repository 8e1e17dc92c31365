#include "registry/frmgamase_wasam.h"

#include "ui/accessibility.h"
#include "ui/controls.h"
#include "base/dbsession.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "base/permissions.h"
#include "ui/screen.h"
#include "ui/twipsgeometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace parcelon {
namespace {
// The two modes of the screen, carried by the caption of cmdok.
const QString kNewMode = QStringLiteral("we;=,a lsÍu");
const QString kChangeMode = QStringLiteral("fjkia lsÍu");

const QColor kBoxYellow {255, 255, 192};
const QColor kVillageBoxOff {192, 255, 192}; // the village box while no division name is typed


QLabel *valueLabel(QWidget *form, const char *name, int left, int top, int width, int height)
{
    QLabel *label = control(form, new QLabel, name, left, top, width, height);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    setBackground(label, colours::normal);
    return label;
}

// The character a key types, as the screens' KeyPress handlers see it; 0 for keys that type nothing
// (arrows, Shift), which raise no KeyPress.
int keyAscii(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 13;
    return event->text().isEmpty() ? 0 : int(event->text().at(0).unicode());
}
} // namespace

frmgamase_wasam::frmgamase_wasam(QWidget *parent) : QDialog(parent)
{
    build();
    Form_Load();
}

void frmgamase_wasam::build()
{
    setObjectName(QStringLiteral("frmgamase_wasam"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(11880), twips(7260));

    labname = control(this, new QLabel(QStringLiteral(".%du ks,Odrs jiï")), "labname", 0, 0, 11880, 660);
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    labname->setStyleSheet(QStringLiteral("QLabel { background: black; color: white; }"));

    // The division: its number and name over the list of stored divisions.
    labsrno1 = control(this, new QLabel(QStringLiteral("wkq wxlh")), "labsrno1", 240, 900, 1200, 300);
    labsrno = valueLabel(this, "labsrno", 240, 1230, 1200, 375);
    labgama = control(this, new QLabel(QStringLiteral(".%du ks,Odß jiu ku")), "labgama", 1560, 900, 4780, 300);
    txtgama = control(this, new QLineEdit, "txtgama", 1560, 1230, 4780, 375);
    lvgama_wasama = control(this, new ListView, "lvgama_wasama", 240, 1800, 6100, 4440);
    lvgama_wasama->setColumns({{QStringLiteral("wkq wxlh"), 1200}, {QStringLiteral(".%du ks,Odß jiu ku"), 4600}});
    txtgamiya_change = control(this, new QLineEdit, "txtgamiya_change", 240, 6420, 2640, 375);
    cmdgamiya_change = control(this, new QPushButton(QStringLiteral(".%dush jiu fjkia lsrsu")), "cmdgamiya_change",
                               3000, 6400, 3340, 420);

    // The working list of villages and the village being added.
    Label3 = control(this, new QLabel(QStringLiteral("wkq wxlh")), "Label3", 6600, 900, 1200, 300);
    labgsrno = valueLabel(this, "labgsrno", 6600, 1230, 1200, 375);
    Label1 = control(this, new QLabel(QStringLiteral(".%dñh jifñ .ï")), "Label1", 7920, 900, 3720, 300);
    txtgam = control(this, new QLineEdit, "txtgam", 7920, 1230, 3720, 375);
    lvgam = control(this, new ListView, "lvgam", 6600, 1800, 5040, 4440);
    lvgam->setColumns({{QStringLiteral("wkq wxlh"), 1435}, {QStringLiteral(".%dñh jifñ .ï"), 3300}});

    cmdnew = control(this, new QPushButton(QStringLiteral("kj ")), "cmdnew", 6600, 6400, 1600, 420);
    cmdok = control(this, new QPushButton(kNewMode), "cmdok", 8320, 6400, 1600, 420);
    cmdexit = control(this, new QPushButton(QStringLiteral("msgúu")), "cmdexit", 10040, 6400, 1600, 420);

    labiv = control(this, new QLabel(QStringLiteral("0")), "labiv", 0, 0, 600, 300);
    labiv->hide();
    txtgamiya_change->hide();
    cmdgamiya_change->hide();

    // Headings and lists one size smaller, so "wkq wxlh" fits its 1200-twip column.
    for (QWidget *small : std::initializer_list<QWidget *> {labsrno1, labgama, Label3, Label1, lvgama_wasama, lvgam})
        small->setFont(parasFont(11));
    for (QLineEdit *box : {txtgama, txtgam, txtgamiya_change})
        setBackground(box, kBoxYellow);

    // Enter on a focused button presses it, as the clerk's keyboard flow expects (Enter on an empty
    // village box moves to the save button); no button is the dialog's default, so Enter in a text box
    // does only what that box's handler says.
    for (QPushButton *button : {cmdnew, cmdok, cmdexit, cmdgamiya_change}) {
        button->setAutoDefault(false);
        Events::of(button).enter([button] { button->click(); });
    }

    setTabOrder(txtgama, txtgam);
    setTabOrder(txtgam, cmdok);
    setTabOrder(cmdok, cmdexit);
    setTabOrder(cmdexit, lvgama_wasama);
    setTabOrder(lvgama_wasama, lvgam);
    setTabOrder(lvgam, txtgamiya_change);
    setTabOrder(txtgamiya_change, cmdgamiya_change);
    setTabOrder(cmdgamiya_change, cmdnew);

    connect(lvgama_wasama, &ListView::itemClicked, this, [this](int) { lvgama_wasama_Click(); });
    connect(lvgama_wasama, &ListView::itemDoubleClicked, this, [this](int) { lvgama_wasama_DblClick(); });
    connect(lvgam, &ListView::itemDoubleClicked, this, [this](int) { lvgam_DblClick(); });
    connect(lvgam, &ListView::columnClicked, this, &frmgamase_wasam::lvgam_ColumnClick);
    connect(txtgama, &QLineEdit::textChanged, this, &frmgamase_wasam::txtgama_Change);
    // A name refused in red turns back to the box colour once the clerk corrects it.
    connect(txtgamiya_change, &QLineEdit::textChanged, this, [this] { setBackground(txtgamiya_change, kBoxYellow); });
    Events::of(txtgama).keyPress([this](QKeyEvent *event) {
        const int key = keyAscii(event);
        if (key == 0)
            return false;
        txtgama_KeyPress(key);
        return key == 13;
    });
    Events::of(txtgam).enter([this] { txtgam_KeyPress(13); });
    connect(cmdnew, &QPushButton::clicked, this, &frmgamase_wasam::cmdnew_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmgamase_wasam::cmdok_Click);
    connect(cmdgamiya_change, &QPushButton::clicked, this, &frmgamase_wasam::cmdgamiya_change_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmgamase_wasam::cmdexit_Click);

    applyAccessibility(this, {{"labgama", "txtgama"}, {"Label1", "txtgam"}});
}

void frmgamase_wasam::Form_Load()
{
    center_form(this);
    txtgam->setEnabled(false);
    setBackground(txtgam, kVillageBoxOff);
    guarded(this, [this] {
        lv_add();
        lastno();
        // View-only users browse divisions and their villages but neither save nor rename.
        if (permissionLevel(session::userSrno(), Flag::Divisions) == ViewOnly) {
            cmdok->setEnabled(false);
            cmdgamiya_change->setEnabled(false);
        }
    });
}

void frmgamase_wasam::lv_add()
{
    lvgama_wasama->clear();
    // All rows of a division bear its one name (a save writes it into every row, a rename updates every
    // row), so one line per number shows the division as stored.
    Query rows = db().select(QStringLiteral("SELECT srno, MIN(gama_wasama) AS gama_wasama FROM gamasewa_wasama "
                                            "GROUP BY srno ORDER BY srno"));
    std::vector<QStringList> lines;
    while (rows.next()) {
        if (rows.value(0).toInt() != 0)
            lines.push_back({rows.value(0), rows.value(1)});
    }
    lvgama_wasama->addItems(std::move(lines));
}

void frmgamase_wasam::lastno()
{
    const int names = db().scalar(QStringLiteral("SELECT COUNT(DISTINCT gama_wasama) FROM gamasewa_wasama")).toInt();
    labsrno->setText(QString::number(names + 1));
}

void frmgamase_wasam::lvgama_wasama_Click()
{
    guarded(this, [this] {
        const int row = lvgama_wasama->selectedRow();
        if (row < 0)
            return;
        // Looking at another division ends the change of the one open, so that a save can never write
        // the other division's villages under the open one's number and wipe its own.
        if (cmdok->text() == kChangeMode && lvgama_wasama->text(row, 0) != labsrno->text()) {
            cmdnew_Click();
            txtgamiya_change->hide();
            cmdgamiya_change->hide();
        }
        lvgam->clear();
        Query rows = db().select(QStringLiteral("SELECT gsrno, gama FROM gamasewa_wasama WHERE gama_wasama = ?"),
                                 {lvgama_wasama->text(row, 1)});
        std::vector<QStringList> lines;
        while (rows.next())
            lines.push_back({rows.value(0), rows.value(1)});
        lvgam->addItems(std::move(lines));
    });
}

void frmgamase_wasam::lvgama_wasama_DblClick()
{
    // The click that came with the double click has already loaded the division's villages.
    const int row = lvgama_wasama->selectedRow();
    if (row < 0)
        return;
    txtgama->setText(lvgama_wasama->text(row, 1));
    txtgamiya_change->setText(lvgama_wasama->text(row, 1));
    labsrno->setText(lvgama_wasama->text(row, 0));
    cmdok->setText(kChangeMode);
    setLabiv(lvgam->count());
    txtgamiya_change->show();
    cmdgamiya_change->show();
    // A text just written into a box has its caret at the start, so the whole name is selected.
    txtgamiya_change->setCursorPosition(0);
    select_all(txtgamiya_change);
    txtgamiya_change->setFocus();
}

void frmgamase_wasam::txtgama_Change()
{
    // Villages can be typed only under a division name.
    const bool named = !txtgama->text().isEmpty();
    txtgam->setEnabled(named);
    setBackground(txtgam, named ? kBoxYellow : kVillageBoxOff);
    setBackground(txtgama, kBoxYellow);
}

void frmgamase_wasam::txtgama_KeyPress(int keyAscii)
{
    // Typing a division name always starts an empty working list.
    lvgam->clear();
    if (keyAscii == 13) {
        labgsrno->setText(QStringLiteral("1"));
        txtgam->setFocus();
    }
}

void frmgamase_wasam::txtgam_KeyPress(int keyAscii)
{
    if (keyAscii != 13)
        return;
    if (!txtgam->text().isEmpty()) {
        // The next number is blank only when the clerk reached this box without Enter in the name box;
        // the village still gets the number the list gives it.
        const QString number =
            labgsrno->text().isEmpty() ? QString::number(lvgam->count() + 1) : labgsrno->text();
        lvgam->addItem({number, txtgam->text()});
        labgsrno->setText(QString::number(lvgam->count() + 1));
        lvgam->setEnabled(true);
        lvgama_wasama->setEnabled(true);
        txtgam->clear();
        setLabiv(lvgam->count());
    } else {
        cmdok->setFocus();
    }
}

void frmgamase_wasam::lvgam_DblClick()
{
    if (txtgama->text().isEmpty())
        return;
    const int row = lvgam->selectedRow();
    if (row < 0)
        return;
    // The village leaves the list to be edited: Enter puts it back with its old number, Enter on an
    // emptied box drops it. Both lists stay locked until then.
    labgsrno->setText(lvgam->text(row, 0));
    txtgam->setText(lvgam->text(row, 1));
    lvgam->removeItem(row);
    lvgam->setEnabled(false);
    lvgama_wasama->setEnabled(false);
    txtgamiya_change->hide();
    cmdgamiya_change->hide();
    txtgam->setCursorPosition(0);
    select_all(txtgam);
    txtgam->setFocus();
}

void frmgamase_wasam::lvgam_ColumnClick(int column) { lvgam->table()->sort(column, Qt::AscendingOrder); }

void frmgamase_wasam::labiv_Change()
{
    // A list that already holds villages keeps its division name; the name is changed by a rename.
    const int count = labiv->text().toInt();
    txtgama->setEnabled(count == 0);
    labgsrno->setText(QString::number(count + 1));
}

void frmgamase_wasam::setLabiv(int count)
{
    const QString text = QString::number(count);
    if (labiv->text() == text)
        return;
    labiv->setText(text);
    labiv_Change();
}

void frmgamase_wasam::cmdnew_Click()
{
    guarded(this, [this] {
        lastno();
        lvgam->clear();
        setLabiv(lvgam->count());
        txtgama->clear();
        txtgam->clear();
        labgsrno->clear();
        cmdok->setText(kNewMode);
        txtgama->setFocus();
    });
}

bool frmgamase_wasam::nameTakenByOtherDivision(const QString &name) const
{
    return db().scalar(QStringLiteral("SELECT COUNT(*) FROM gamasewa_wasama WHERE gama_wasama = ? AND srno <> ?"),
                       {name, labsrno->text().toInt()})
               .toInt()
        > 0;
}

void frmgamase_wasam::cmdok_Click()
{
    guarded(this, [this] {
        if (lvgam->count() == 0)
            return;
        if (!txtgam->text().isEmpty()) {
            // A village typed but not added with Enter: nothing is saved until the clerk decides.
            setBackground(txtgam, colours::attention);
            return;
        }
        // A list without a division name is the villages of a division merely looked at: saving them would
        // copy them into a nameless new division.
        const QString name = txtgama->text();
        if (name.isEmpty() || nameTakenByOtherDivision(name)) {
            setBackground(txtgama, colours::attention);
            return;
        }
        const int srno = labsrno->text().toInt();
        const bool changing = cmdok->text() == kChangeMode;
        const QString user = session::userName();
        const QString date = session::dbDate();
        const QString time = session::dbTime();
        // The division's rows are replaced as a whole or not at all.
        db().transaction([&] {
            if (changing)
                db().execute(QStringLiteral("DELETE FROM gamasewa_wasama WHERE srno = ?"), {srno});
            for (int i = 0; i < lvgam->count(); ++i)
                db().execute(QStringLiteral("INSERT INTO gamasewa_wasama (srno, gama_wasama, gsrno, gama, username, "
                                            "date, time) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                             {srno, name, lvgam->text(i, 0), lvgam->text(i, 1), user, date, time});
        });
        lvgam->clear();
        txtgama->clear();
        cmdok->setText(kNewMode);
        setLabiv(lvgam->count());
        lastno();
        lv_add();
    });
}

void frmgamase_wasam::cmdgamiya_change_Click()
{
    guarded(this, [this] {
        const QString name = txtgamiya_change->text();
        if (nameTakenByOtherDivision(name)) {
            setBackground(txtgamiya_change, colours::attention);
            return;
        }
        db().execute(QStringLiteral("UPDATE gamasewa_wasama SET gama_wasama = ? WHERE srno = ?"),
                     {name, labsrno->text().toInt()});
        lv_add();
        lastno();
        lvgam->clear();
        setLabiv(lvgam->count());
        txtgama->clear();
        txtgam->clear();
        labgsrno->clear();
        txtgamiya_change->clear();
        txtgamiya_change->hide();
        cmdgamiya_change->hide();
        txtgama->setFocus();
    });
}

void frmgamase_wasam::cmdexit_Click() { close(); }

} // namespace parcelon
