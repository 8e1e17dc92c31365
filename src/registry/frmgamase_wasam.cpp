#include "registry/frmgamase_wasam.h"

#include "base/dbsession.h"
#include "base/divisions.h"
#include "base/identity.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/messages.h"

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

// A division's villages in their stored order: the village number, compared as a number.
const QString kVillageOrder = QStringLiteral(" ORDER BY LENGTH(gsrno), gsrno");

// A division's name and villages as stored now, to be compared when the clerk saves a change of it.
LoadedRow divisionAsStored(int srno)
{
    return LoadedRow::ofRows(QStringLiteral("gamasewa_wasama"), srno, QStringLiteral("gsrno, gama"),
        {QStringLiteral("gama_wasama"), QStringLiteral("gsrno"), QStringLiteral("gama")});
}

QLabel *centredValue(QWidget *form, const char *name, Twips at)
{
    QLabel *label = valueLabel(form, name, at, colours::normal);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
} // namespace

frmgamase_wasam::frmgamase_wasam(QWidget *parent)
    : QDialog(parent)
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

    labname = captionLabel(this, "labname", QStringLiteral(".%du ks,Odrs jiï"), {0, 0, 11880, 660});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);

    // The division: its number and name over the list of stored divisions.
    labsrno1 = captionLabel(this, "labsrno1", QStringLiteral("wkq wxlh"), {240, 900, 1200, 300});
    labsrno = centredValue(this, "labsrno", {240, 1230, 1200, 375});
    labgama = captionLabel(this, "labgama", QStringLiteral(".%du ks,Odß jiu ku"), {1560, 900, 4780, 300});
    txtgama = textBox(this, "txtgama", {1560, 1230, 4780, 375});
    lvgama_wasama = control(this, new ListView, "lvgama_wasama", 240, 1800, 6100, 4440);
    lvgama_wasama->setColumns({{QStringLiteral("wkq wxlh"), 1300}, {QStringLiteral(".%du ks,Odß jiu ku"), 4500}});
    txtgamiya_change = textBox(this, "txtgamiya_change", {240, 6420, 2640, 375});
    cmdgamiya_change
        = button(this, "cmdgamiya_change", QStringLiteral(".%dush jiu fjkia lsrsu"), {3000, 6400, 3340, 420});

    // The working list of villages and the village being added.
    Label3 = captionLabel(this, "Label3", QStringLiteral("wkq wxlh"), {6600, 900, 1200, 300});
    labgsrno = centredValue(this, "labgsrno", {6600, 1230, 1200, 375});
    Label1 = captionLabel(this, "Label1", QStringLiteral(".%dñh jifñ .ï"), {7920, 900, 3720, 300});
    txtgam = textBox(this, "txtgam", {7920, 1230, 3720, 375});
    lvgam = control(this, new ListView, "lvgam", 6600, 1800, 5040, 4440);
    lvgam->setColumns({{QStringLiteral("wkq wxlh"), 1435}, {QStringLiteral(".%dñh jifñ .ï"), 3300}});

    cmdnew = button(this, "cmdnew", QStringLiteral("kj "), {6600, 6400, 1600, 420});
    cmdok = button(this, "cmdok", kNewMode, {8320, 6400, 1600, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {10040, 6400, 1600, 420});

    labiv = hiddenLabel(this, "labiv", QStringLiteral("0"));
    txtgamiya_change->hide();
    cmdgamiya_change->hide();

    // Headings and lists one size smaller, so "wkq wxlh" fits its 1200-twip column.
    for (QWidget *small : std::initializer_list<QWidget *> {labsrno1, labgama, Label3, Label1, lvgama_wasama, lvgam})
        small->setFont(parasFont(11));
    // Enter on an empty village box moves to the save button, and Enter there saves.
    applyKeyPolicy(this, cmdexit);

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
    connect(txtgamiya_change, &QLineEdit::textChanged, this, [this] { markNormal(txtgamiya_change); });
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
    markNormal(txtgam, colours::fieldOff);
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
    std::vector<QStringList> lines;
    for (const NumberedName &division : divisions())
        lines.push_back({division.number, division.name});
    lvgama_wasama->addItems(std::move(lines));
}

void frmgamase_wasam::lastno() { labsrno->setText(QString::number(nextDivisionNumber())); }

int frmgamase_wasam::nextDivisionNumber()
{
    // The count of division names plus one. Should that number already be taken (a division whose name
    // another took over), the division after the highest gets it instead, so that a new division never
    // shares its number, and with it its villages, with a stored one.
    const int names = db().scalar(QStringLiteral("SELECT COUNT(DISTINCT gama_wasama) FROM gamasewa_wasama")).toInt();
    const int next = names + 1;
    if (db().first(QStringLiteral("SELECT srno FROM gamasewa_wasama WHERE srno = ?"), {next}))
        return db().scalar(QStringLiteral("SELECT MAX(srno) FROM gamasewa_wasama")).toInt() + 1;
    return next;
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
        Query rows = db().select(
            QStringLiteral("SELECT gsrno, gama FROM gamasewa_wasama WHERE gama_wasama = ?") + kVillageOrder,
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
    guarded(this, [this] { m_division = divisionAsStored(labsrno->text().toInt()); });
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
    markNormal(txtgam, named ? colours::field : colours::fieldOff);
    markNormal(txtgama);
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
        const QString number = labgsrno->text().isEmpty() ? QString::number(lvgam->count() + 1) : labgsrno->text();
        lvgam->addItem({number, txtgam->text()});
        labgsrno->setText(QString::number(lvgam->count() + 1));
        unlockLists();
        txtgam->clear();
        setLabiv(lvgam->count());
    } else {
        // Enter on an empty box drops a village taken out of the list.
        unlockLists();
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
    // emptied box drops it. Both lists stay locked until one or the other.
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

void frmgamase_wasam::unlockLists()
{
    lvgam->setEnabled(true);
    lvgama_wasama->setEnabled(true);
}

void frmgamase_wasam::cmdnew_Click()
{
    guarded(this, [this] {
        lastno();
        lvgam->clear();
        unlockLists();
        setLabiv(lvgam->count());
        txtgama->clear();
        txtgam->clear();
        labgsrno->clear();
        cmdok->setText(kNewMode);
        txtgama->setFocus();
    });
}

bool frmgamase_wasam::nameTakenByOtherDivision(const QString &name, int srno) const
{
    return db()
        .first(QStringLiteral("SELECT srno FROM gamasewa_wasama WHERE gama_wasama = ? AND srno <> ?"), {name, srno})
        .has_value();
}

void frmgamase_wasam::cmdok_Click()
{
    guarded(this, [this] {
        if (lvgam->count() == 0)
            return;
        if (!txtgam->text().isEmpty()) {
            // A village typed but not added with Enter: nothing is saved until the clerk decides.
            markRed(txtgam);
            return;
        }
        // A list without a division name is the villages of a division merely looked at: saving them would
        // copy them into a nameless new division.
        const QString name = txtgama->text();
        if (name.isEmpty()) {
            markRed(txtgama);
            return;
        }
        const bool changing = cmdok->text() == kChangeMode;
        const QString user = session::userName();
        const QString date = session::dbDate();
        const QString time = session::dbTime();
        bool taken = false;
        bool changedElsewhere = false;
        // Another workstation may have saved a division since this screen counted: the number and the
        // name check are made again under the lock, and the division's rows are replaced as a whole, only
        // while they are still those this screen loaded.
        db().lockedChange([&] {
            if (changing && (m_division.srno() != labsrno->text().toInt() || !m_division.unchanged())) {
                changedElsewhere = true;
                return;
            }
            const int srno = changing ? labsrno->text().toInt() : nextDivisionNumber();
            if (nameTakenByOtherDivision(name, srno)) {
                taken = true;
                return;
            }
            if (changing)
                db().execute(QStringLiteral("DELETE FROM gamasewa_wasama WHERE srno = ?"), {srno});
            for (int i = 0; i < lvgam->count(); ++i)
                db().execute(QStringLiteral("INSERT INTO gamasewa_wasama (srno, gama_wasama, gsrno, gama, username, "
                                            "date, time) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    {srno, name, lvgam->text(i, 0), lvgam->text(i, 1), user, date, time});
        });
        if (changedElsewhere) {
            message(this, kChangedElsewhere);
            showDivisionAgain();
            return;
        }
        if (taken) {
            markRed(txtgama);
            return;
        }
        m_division.reset();
        lvgam->clear();
        unlockLists();
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
        const int srno = labsrno->text().toInt();
        bool taken = false;
        bool changedElsewhere = false;
        db().lockedChange([&] {
            if (m_division.srno() != srno || !m_division.unchanged()) {
                changedElsewhere = true;
                return;
            }
            taken = nameTakenByOtherDivision(name, srno);
            if (!taken)
                db().execute(QStringLiteral("UPDATE gamasewa_wasama SET gama_wasama = ? WHERE srno = ?"), {name, srno});
        });
        if (changedElsewhere) {
            message(this, kChangedElsewhere);
            showDivisionAgain();
            return;
        }
        if (taken) {
            markRed(txtgamiya_change);
            return;
        }
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

void frmgamase_wasam::showDivisionAgain()
{
    const int srno = labsrno->text().toInt();
    lv_add();
    lvgam->clear();
    Query rows = db().select(
        QStringLiteral("SELECT gsrno, gama, gama_wasama FROM gamasewa_wasama WHERE srno = ?") + kVillageOrder, {srno});
    std::vector<QStringList> lines;
    QString name;
    while (rows.next()) {
        lines.push_back({rows.value(0), rows.value(1)});
        name = rows.value(2);
    }
    if (lines.empty()) {
        m_division.reset();
        cmdnew_Click();
        txtgamiya_change->hide();
        cmdgamiya_change->hide();
        return;
    }
    lvgam->addItems(std::move(lines));
    unlockLists();
    txtgama->setText(name);
    txtgamiya_change->setText(name);
    setLabiv(lvgam->count());
    m_division = divisionAsStored(srno);
}

void frmgamase_wasam::cmdexit_Click() { close(); }

} // namespace parcelon
