// Bulk deletion: the screen, the two confirmations and the two workers.

#include "admin/frmdelect_all.h"

#include "base/dbsession.h"
#include "ui/accessibility.h"
#include "ui/controls.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/messages.h"
#include "ui/screen.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace parcelon {
namespace {
const QString kBackupTaken = QStringLiteral("Tn úiska o;a; .nvdfú msgm;la ,nd .;af;a o");
const QString kLandsFirst = QStringLiteral("bvï ysñhka bj;a lsßug fmr ish¨u bvñ bj;a ú ;sìh hq;=h");

// How many keys are deleted between two repaints of the list and the progress bar.
constexpr size_t kKeysPerRepaint = 100;
} // namespace

frmdelect_all::frmdelect_all(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void frmdelect_all::build()
{
    setObjectName(QStringLiteral("frmdelect_all"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(9000), twips(7500));

    labname = captionLabel(this, "labname", QStringLiteral("ish¨u bvï yd bvï ysñhka bj;a lsßu"), {0, 0, 9000, 660});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);
    Label1 = captionLabel(this, "Label1",
        QStringLiteral("ish,qu bvï yd bvñ ysñhka bj;a lsßug fmr o;a; .nvdfú msgm;la ,nd .kak "), {240, 780, 8520, 800});
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);

    cmdland = button(this, "cmdland", QStringLiteral("ish¨u bvñ bj;a lsßu"), {240, 1700, 4140, 500});
    cmdland_owner
        = button(this, "cmdland_owner", QStringLiteral("ish¨u bvñ ysñhka bj;a lsßu"), {4620, 1700, 4140, 500});

    Label2 = captionLabel(this, "Label2", QStringLiteral("mKsúvh -"), {240, 2400, 1400, 400});
    labmassege = valueLabel(this, "labmassege", {1700, 2400, 7060, 400}, colours::normal);
    pb1 = control(this, new QProgressBar, "pb1", 240, 2920, 8520, 300);
    pb1->setTextVisible(false);
    pb1->setValue(0);
    pb1->hide();

    lv = control(this, new ListView, "lv", 240, 3360, 8520, 3200);
    lv->setColumns({{QStringLiteral("srno"), 2000}, {QStringLiteral("landno"), 4000}});
    lv->setFont(latinFont(10));

    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {7160, 6760, 1600, 500});

    // The workers are started by the confirmation only, never by the clerk.
    cmdl = button(this, "cmdl", QStringLiteral("Command1"), {240, 6760, 1200, 400});
    cmdff = button(this, "cmdff", QStringLiteral("Command1"), {1560, 6760, 1200, 400});
    cmdl->hide();
    cmdff->hide();
    ll = hiddenLabel(this, "ll");
    labch = hiddenLabel(this, "labch");

    setTabOrder(cmdland, cmdland_owner);
    setTabOrder(cmdland_owner, cmdexit);
    setTabOrder(cmdexit, lv);

    connect(cmdland, &QPushButton::clicked, this, &frmdelect_all::cmdland_Click);
    connect(cmdland_owner, &QPushButton::clicked, this, &frmdelect_all::cmdland_owner_Click);
    connect(cmdl, &QPushButton::clicked, this, &frmdelect_all::cmdl_Click);
    connect(cmdff, &QPushButton::clicked, this, &frmdelect_all::cmdff_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmdelect_all::cmdexit_Click);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {{"Label2", "labmassege"}});
}

void frmdelect_all::Form_Load() { center_form(this); }

void frmdelect_all::confirm(const QString &code)
{
    frmmessage_y ask(this);
    ask.labmessage_y->setText(kBackupTaken);
    ask.labcc->setText(code);
    ask.exec();
}

void frmdelect_all::cmdland_Click()
{
    guarded(this, [this] { confirm(QStringLiteral("2")); });
}

void frmdelect_all::cmdland_owner_Click()
{
    guarded(this, [this] {
        if (db().first(QStringLiteral("SELECT srno FROM land"))) {
            message(this, kLandsFirst);
        } else {
            lv->clear();
            Query rows = db().select(QStringLiteral("SELECT srno, id FROM landowner ORDER BY srno"));
            std::vector<QStringList> lines;
            while (rows.next())
                lines.push_back({rows.value(0), rows.value(1)});
            lv->addItems(std::move(lines));
            if (lv->count() > 0)
                confirm(QStringLiteral("3"));
        }
        pb1->hide();
    });
}

void frmdelect_all::keepFrom(const std::vector<QStringList> &lines, size_t from)
{
    // Rebuilt from what is left rather than removed line by line from the front, which would move the
    // whole list once per key.
    lv->clear();
    lv->addItems(std::vector<QStringList>(lines.begin() + qsizetype(from), lines.end()));
    if (lv->count() > 0)
        lv->selectRow(0);
}

bool frmdelect_all::deleteListed(const std::function<bool(const QString &key)> &deleteKey)
{
    std::vector<QStringList> lines;
    lines.reserve(size_t(lv->count()));
    for (int row = 0; row < lv->count(); ++row)
        lines.push_back(lv->line(row));
    pb1->setMaximum(int(lines.size()));
    pb1->show();
    size_t done = 0;
    try {
        for (; done < lines.size(); ++done) {
            if (!deleteKey(lines[done].value(0))) {
                keepFrom(lines, done);
                return false;
            }
            pb1->setValue(pb1->value() + 1);
            if ((done + 1) % kKeysPerRepaint == 0) {
                keepFrom(lines, done + 1);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        }
    } catch (...) {
        // The failed key's change was undone: it stays listed with the keys after it.
        keepFrom(lines, done);
        throw;
    }
    lv->clear();
    return true;
}

void frmdelect_all::cmdl_Click()
{
    guarded(this, [this] {
        lv->clear();
        Query rows = db().select(QStringLiteral("SELECT srno, balapa_no FROM land ORDER BY srno"));
        std::vector<QStringList> lines;
        while (rows.next())
            lines.push_back({rows.value(0), rows.value(1)});
        if (lines.empty())
            return;
        lv->addItems(std::move(lines));
        pb1->setValue(0);
        lv->selectRow(0);
        labmassege->setText(QStringLiteral("bvï bj;a úu ioyd wrïN úh"));
        // A land goes with its boundaries, its prior versions and its transfers, all or nothing.
        deleteListed([](const QString &key) {
            db().lockedChange([&] {
                db().execute(QStringLiteral("DELETE FROM land WHERE srno = ?"), {Dialect::key(key)});
                db().execute(QStringLiteral("DELETE FROM hathara_maym WHERE landsrno = ?"), {key});
                db().execute(QStringLiteral("DELETE FROM land_pera WHERE land_srno = ?"), {key});
                db().execute(QStringLiteral("DELETE FROM land_pewarima WHERE land_srno = ?"), {key});
            });
            return true;
        });
        labmassege->setText(ll->text() + QStringLiteral("  bvñ bj;a fjk ,È"));
        pb1->hide();
    });
}

void frmdelect_all::cmdff_Click()
{
    guarded(this, [this] {
        pb1->setValue(0);
        labmassege->setText(QStringLiteral("bvï ysñhka bj;a úu ioyd wrïN úh"));
        // An owner goes with the successor registrations made from them. Another workstation may have
        // registered a land since the list was made: each owner's change checks again, under the lock,
        // that no land is left, and the run stops with the refusal when one is.
        const bool completed = deleteListed([](const QString &key) {
            bool landLeft = false;
            db().lockedChange([&] {
                landLeft = db().first(QStringLiteral("SELECT srno FROM land")).has_value();
                if (landLeft)
                    return;
                db().execute(QStringLiteral("DELETE FROM landowner WHERE srno = ?"), {Dialect::key(key)});
                db().execute(QStringLiteral("DELETE FROM pasuhimikam WHERE landowner_srno = ?"), {key});
            });
            return !landLeft;
        });
        if (!completed) {
            message(this, kLandsFirst);
            return;
        }
        labmassege->setText(labch->text() + QStringLiteral("  bvñ ysñhka bj;a fjk ,È"));
    });
}

void frmdelect_all::cmdexit_Click() { close(); }

} // namespace parcelon
