// The land register's lists: the land list `lvland` (all lands, or one household's), the division and
// tank pickers that hang under their boxes, the village list of the chosen division, the search of
// division values in use behind the lot-number label, and the two sub-screens opened from here: the
// boundaries (frmhathara) and the relationship kinds (frmnanayayo).
//
// Each list is filled by one query: the lands are joined to their owners, never read owner by owner, and
// the pickers take their distinct values from the database in order.
#include "registry/frmhathara.h"
#include "registry/frmland.h"

#include "base/dbsession.h"
#include "base/divisions.h"
#include "base/identity.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace parcelon {
namespace {
// The last entry of the relationship list: it opens the screen that adds a kind.
const QString kAddKind = QStringLiteral("{d;ska tla lsßu");

// The lands joined to their owners: the household number is the owner's own and stays empty when the
// owner row is gone. The cast key is served by the index on the owner's srno as text.
const QString kLandsWithOwners
    = QStringLiteral(" FROM land l LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20))");

// A click on a label: a label has no Click of its own, so the release of the left button over it is one.
class LabelClick final : public QObject
{
public:
    LabelClick(QLabel *label, std::function<void()> handler)
        : QObject(label)
        , m_handler(std::move(handler))
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const auto *label = static_cast<QWidget *>(watched);
            if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint()))
                m_handler();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
};

// The extent as the household list shows it: the unit's name (the entry without its "1 - " prefix), the
// first figure, then roods and perches with their marks.
QString extentText(const QString &unit, const QString &akkara, const QString &rut, const QString &parchase)
{
    return unit.mid(4, 14) + QStringLiteral(" ") + akkara + QStringLiteral(" $") + QStringLiteral(" reâ")
        + QStringLiteral(" ") + rut + QStringLiteral(" $ ") + QStringLiteral("m¾pia ") + QStringLiteral(" ") + parchase;
}

// Distinct values of one land column containing the typed text, in order; the empty value never.
std::vector<QStringList> distinctValues(const QString &column, const QString &typed)
{
    Query rows
        = db().select(QStringLiteral("SELECT DISTINCT %1 FROM land WHERE %1 LIKE ? ESCAPE '!' ORDER BY %1").arg(column),
            {Dialect::containsPattern(typed.trimmed())});
    std::vector<QStringList> lines;
    while (rows.next()) {
        if (!rows.value(0).isEmpty())
            lines.push_back({rows.value(0)});
    }
    return lines;
}

void refill(ListView *picker, std::vector<QStringList> lines)
{
    picker->clear();
    picker->addItems(std::move(lines));
}

void setPickerVisible(ListView *picker, bool visible)
{
    // The pickers hang over the controls below their boxes.
    if (visible)
        picker->raise();
    picker->setVisible(visible);
}

// The line Enter takes: the one the clerk selected, else the first.
QString chosenLine(const ListView *picker)
{
    const int row = picker->selectedRow();
    return picker->text(row < 0 ? 0 : row);
}
} // namespace

void frmland::wireLists()
{
    Events::of(txtkottasaya)
        .gotFocus([this] { txtkottasaya_GotFocus(); })
        .enter([this] { txtkottasaya_Enter(); })
        .lostFocus([this] { markNormal(txtkottasaya); });
    connect(lvkottashya, &ListView::itemClicked, this, [this](int) { lvkottashya_Click(); });
    new LabelClick(labkatti, [this] { labkatti_Click(); });
    Events::of(txtwawa)
        .gotFocus([this] { txtwawa_GotFocus(); })
        .keyUp([this](QKeyEvent *event) {
            // Enter has moved the focus on: its release belongs to the next box.
            if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
                txtwawa_KeyUp();
        })
        .enter([this] { txtwawa_Enter(); })
        .lostFocus([this] { markNormal(txtwawa); });
    connect(lvwawa, &ListView::itemClicked, this, [this](int) { lvwawa_Click(); });
    connect(cmdsathara, &QPushButton::clicked, this, &frmland::cmdsathara_Click);
    comboClick(cmbpasuaythiya, [this] { cmbpasuaythiya_Click(); });
    connect(cmdnanayo, &QPushButton::clicked, this, &frmland::cmdnanayo_Click);
}

void frmland::land_lv()
{
    m_allLands->stop(); // the household's lands replace a list of all lands still filling
    guarded(this, [this] {
        Query rows = db().select(QStringLiteral("SELECT o.house_no, l.id, l.balapa_no1, l.balapa_no, l.loan_sbawaya, "
                                                "l.akkara1, l.akkara, l.rut, l.parchase, l.aythiye_sbawaya, l.pewarima")
                + kLandsWithOwners + QStringLiteral(" WHERE l.guhasth = ? ORDER BY l.srno"),
            {txtguhano->text()});
        lvland->clear();
        std::vector<QStringList> lines;
        while (rows.next()) {
            lines.push_back({rows.value(0), identityInList(rows.value(1)),
                rows.value(2) + QStringLiteral(" ") + rows.value(3), rows.value(3), rows.value(4),
                extentText(rows.value(5), rows.value(6), rows.value(7), rows.value(8)), rows.value(9), rows.value(10)});
        }
        lvland->addItems(std::move(lines));
    });
}

void frmland::land_all()
{
    // The list of every land is the long one: it fills a page at a time (ui/pagedfill.h). The database
    // cuts and joins the texts (the identity's first nine characters, the permit kind and number, the
    // nature without its "1- " prefix, the decimal point as the PARAS-N list draws it).
    guarded(this, [this] {
        m_allLands->start({QStringLiteral("SELECT o.house_no, SUBSTR(l.id, 1, 9), COALESCE(l.balapa_no1, '') || ' ' || "
                                          "COALESCE(l.balapa_no, ''), l.balapa_no, SUBSTR(l.loan_sbawaya, 4, 20), "
                                          "REPLACE(l.akkara_only, '.', ''''), l.aythiye_sbawaya, l.pewarima, l.srno")
                + kLandsWithOwners,
            {}, {}, QStringLiteral("l.srno"), 8});
    });
}

bool frmland::landListFilling() const { return m_allLands->filling(); }

void frmland::fgamanam()
{
    guarded(this, [this] {
        // The division's number is what stands before " - " (or the whole box, a bare number typed), so
        // division 100 offers its own villages and not those of division 10.
        const QString division = txtkottasaya->text();
        const QString number = division.contains(QStringLiteral(" - ")) ? entryNumber(division) : division;
        cmbgama->clear();
        QStringList villages;
        for (const NumberedName &village : villagesOf(number))
            villages << numberedEntry(village.number, village.name);
        cmbgama->addItems(villages);
    });
}

void frmland::txtkottasaya_GotFocus()
{
    markNormal(txtkottasaya, colours::focus);
    lvwawa->hide();
    guarded(this, [this] {
        // Every division once, in number order, whatever the box holds.
        std::vector<QStringList> lines;
        for (const NumberedName &division : divisions())
            lines.push_back({numberedEntry(division.number, division.name)});
        refill(lvkottashya, std::move(lines));
        setPickerVisible(lvkottashya, lvkottashya->count() > 0);
    });
}

void frmland::txtkottasaya_Enter()
{
    guarded(this, [this] {
        // The village list is refilled only by a click on a division.
        if (lvkottashya->count() > 0)
            txtkottasaya->setText(chosenLine(lvkottashya));
        lvkottashya->hide();
        cmdenter->setFocus();
    });
}

void frmland::lvkottashya_Click()
{
    guarded(this, [this] {
        const int row = lvkottashya->selectedRow();
        if (row < 0)
            return;
        txtkottasaya->setText(lvkottashya->text(row));
        fgamanam();
        lvkottashya->hide();
        cmdenter->setFocus();
    });
}

void frmland::labkatti_Click()
{
    guarded(this, [this] {
        setPickerVisible(lvkottashya, true);
        refill(lvkottashya, distinctValues(QStringLiteral("kottashaya"), txtkottasaya->text()));
        // Whatever it found, the picker shows exactly while the division box holds text.
        setPickerVisible(lvkottashya, !txtkottasaya->text().isEmpty());
    });
}

void frmland::txtwawa_GotFocus()
{
    markNormal(txtwawa, colours::focus);
    guarded(this, [this] {
        refill(lvwawa, distinctValues(QStringLiteral("wewe_name"), txtwawa->text()));
        if (lvwawa->count() > 0) {
            setPickerVisible(lvwawa, true);
            lvkottashya->hide();
        } else {
            lvwawa->hide();
        }
    });
}

void frmland::txtwawa_KeyUp()
{
    guarded(this, [this] {
        refill(lvwawa, distinctValues(QStringLiteral("wewe_name"), txtwawa->text()));
        // Shown while the box holds text, even when nothing matches, so the clerk sees that.
        setPickerVisible(lvwawa, !txtwawa->text().isEmpty());
    });
}

void frmland::txtwawa_Enter()
{
    guarded(this, [this] {
        if (lvwawa->count() > 0) {
            txtwawa->setText(chosenLine(lvwawa));
            cmbothland->setFocus();
        } else {
            lvwawa->hide();
            txtkottasaya->setFocus();
        }
    });
}

void frmland::lvwawa_Click()
{
    guarded(this, [this] {
        const int row = lvwawa->selectedRow();
        if (row < 0)
            return;
        txtwawa->setText(lvwawa->text(row));
        lvwawa->hide();
        cmdenter->setFocus();
    });
}

void frmland::cmdsathara_Click()
{
    guarded(this, [this] {
        // A land being entered has no number yet: its boundaries stay with this screen until its save.
        // A stored land's are found by its own number, never by the number labno shows for a new land,
        // which another workstation's land may have received meanwhile.
        const bool stored = inChangeMode();
        if (stored && !m_loaded.isSet())
            return; // no land loaded
        const QString srno = stored ? m_loaded.srno().toString() : labno->text();
        std::optional<Query> row;
        if (stored && !labsathara->text().isEmpty())
            row = db().first(QStringLiteral("SELECT landsrno, landno1, landno, dakuna, uthuru, batahira, naganahira "
                                            "FROM hathara_maym WHERE landsrno = ?"),
                {srno});
        dimForSubScreen();
        const bool shown = Screens::open(ScreenId::frmhathara, this, [&](QDialog *screen) {
            auto *boundaries = qobject_cast<frmhathara *>(screen);
            if (!boundaries)
                return;
            if (row) {
                boundaries->showStored(*row);
                return;
            }
            // A new row for this land; also when boundaries are recorded but no row carries the land's
            // number.
            boundaries->lablandsrno->setText(srno);
            boundaries->lablandno1->setText(cmblandno->currentText());
            boundaries->lablandno->setText(txtlandno->text());
            if (!stored)
                boundaries->holdFor(&m_boundaries);
        });
        if (!shown)
            cmdcha_Click();
    });
}

void frmland::cmbpasuaythiya_Click()
{
    if (cmbpasuaythiya->currentText() != kAddKind)
        return;
    guarded(this, [this] {
        dimForSubScreen();
        if (!Screens::open(ScreenId::frmnanayayo, this))
            cmdcha_Click();
    });
}

void frmland::cmdnanayo_Click()
{
    guarded(this, [this] {
        Query rows = db().select(QStringLiteral("SELECT srno, nathisambandaya FROM nadayo ORDER BY srno"));
        // After a refresh the first entry is empty (at load it is a single blank).
        QStringList entries {QString()};
        while (rows.next())
            entries << rows.value(0) + QStringLiteral("-") + QStringLiteral(" ") + rows.value(1);
        entries << kAddKind;
        cmbpasuaythiya->clear();
        cmbpasuaythiya->addItems(entries);
    });
}

} // namespace parcelon
