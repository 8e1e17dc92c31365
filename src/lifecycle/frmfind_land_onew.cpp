#include "lifecycle/frmfind_land_onew.h"

#include "base/dbsession.h"
#include "lifecycle/landregister.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <vector>

namespace parcelon {
namespace {
constexpr int kWidth = 10800;
constexpr int kHeight = 7560;
constexpr int kListWidth = 10320;

// The columns of a result line: the owner's number, the first nine characters of the identity number,
// the household number and the name.
const QString kColumns = QStringLiteral("srno, id, house_no, land_owner_name");
// The register's identity numbers are nine digits and a letter; the list shows the digits only.
constexpr int kShownIdLength = 9;

// A line of the list from a row read with kColumns.
QStringList lineOf(const Query &row)
{
    return {row.value(0), row.value(1).left(kShownIdLength), row.value(2), row.value(3)};
}

// A control of the opener's own window, found by name; missing it is a fault of the program.
QWidget *openerControl(QWidget *opener, const char *name)
{
    for (QWidget *w : opener->findChildren<QWidget *>(QString::fromLatin1(name))) {
        if (w->window() == opener->window())
            return w;
    }
    throw HandBackError(QStringLiteral("Hand-back to %1: it has no control %2")
                            .arg(opener->objectName(), QString::fromLatin1(name))
                            .toStdString());
}

// Moves the opener's focus into one box and on to the next, as a clerk tabbing through it would, so
// that leaving the first box runs its LostFocus handler. The finder has just closed: the opener is made
// the active window first, or the focus would move without any focus event.
void focusThrough(QWidget *opener, const char *first, const char *then)
{
    QWidget *from = openerControl(opener, first);
    QWidget *to = openerControl(opener, then);
    if (!opener->isVisible())
        return;
    if (QApplication::activeWindow() != opener->window())
        QApplication::setActiveWindow(opener->window());
    from->setFocus(Qt::OtherFocusReason);
    to->setFocus(Qt::OtherFocusReason);
}
} // namespace

frmfind_land_onew::frmfind_land_onew(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    build();
    Form_Load();
}

void frmfind_land_onew::build()
{
    setObjectName(QStringLiteral("frmfind_land_onew"));
    setWindowTitle(QStringLiteral("Find"));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labname = captionLabel(this, "labname", QStringLiteral("bvñ ysñ f,aLKh"), {0, 0, kWidth, 600});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);

    // Two rows of two boxes, each with its caption before it.
    labsrno = captionLabel(this, "labsrno", QStringLiteral("wkq wxlh"), {240, 840, 2500, 375});
    txtsrno = textBox(this, "txtsrno", {2840, 840, 2300, 375});
    labguha = captionLabel(this, "labguha", QStringLiteral(".Dy wxlh"), {5400, 840, 2500, 375});
    txtguha = textBox(this, "txtguha", {8000, 840, 2560, 375});
    labid = captionLabel(this, "labid", QStringLiteral("yeÿkqïm;a wxlh"), {240, 1335, 2500, 375});
    txtid = textBox(this, "txtid", {2840, 1335, 2300, 375});
    identityBox(txtid);
    lablname = captionLabel(this, "lablname", QStringLiteral("bvñ ysñhdf.a ku"), {5400, 1335, 2500, 375});
    txtlname = textBox(this, "txtlname", {8000, 1335, 2560, 375});

    lvfind = control(this, new ListView, "lvfind", 240, 1920, kListWidth, 4800);
    m_owners = new PagedFill(lvfind, this, lineOf);

    cmdadd = button(this, "cmdadd", QStringLiteral("w;=,a lsrSu"), {6960, 6960, 1700, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {8860, 6960, 1700, 420});
    labch = hiddenLabel(this, "labch");

    setTabOrder(txtsrno, txtguha);
    setTabOrder(txtguha, txtid);
    setTabOrder(txtid, txtlname);
    setTabOrder(txtlname, lvfind);
    setTabOrder(lvfind, cmdadd);
    setTabOrder(cmdadd, cmdexit);

    for (QLineEdit *box : {txtsrno, txtguha, txtid, txtlname})
        connect(box, &QLineEdit::textChanged, this, [this] { guarded(this, [this] { sort_f(); }); });
    connect(lvfind, &ListView::itemClicked, this, [this](int) { lvfind_Click(); });
    connect(cmdadd, &QPushButton::clicked, this, &frmfind_land_onew::cmdadd_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmfind_land_onew::cmdexit_Click);
    applyKeyPolicy(this, cmdexit);
    applyAccessibility(
        this, {{"labsrno", "txtsrno"}, {"labguha", "txtguha"}, {"labid", "txtid"}, {"lablname", "txtlname"}});
}

void frmfind_land_onew::setColumnWidths()
{
    // The first three columns take a fifth of the list each, the name the rest but a margin.
    const int fifth = kListWidth / 5;
    lvfind->setColumns({{QStringLiteral(" wkq wxlh"), fifth}, {QStringLiteral(" cd ye wxlh"), fifth},
        {QStringLiteral(".Dy wxlh"), fifth, Qt::AlignHCenter}, {QStringLiteral(" bvñ ysñhdf.a ku"), 2 * fifth - 150}});
}

void frmfind_land_onew::Form_Load()
{
    center_form(this);
    setColumnWidths();
    guarded(this, [this] { fin_lv(); });
}

void frmfind_land_onew::fin_lv()
{
    m_owners->start({QStringLiteral("SELECT %1 FROM landowner1").arg(kColumns), {}, {}, QStringLiteral("srno"), 0});
}

void frmfind_land_onew::sort_f()
{
    // Empty boxes match every owner; typed % and _ match themselves.
    const QString like = QStringLiteral(" LIKE ? ESCAPE '!'");
    m_owners->start({QStringLiteral("SELECT %1 FROM landowner").arg(kColumns),
        QStringLiteral("%1 AND id%2 AND house_no%2 AND land_owner_name%2")
            .arg(Dialect::numberLike(QStringLiteral("srno")), like),
        {Dialect::containsPattern(txtsrno->text().trimmed()), Dialect::containsPattern(txtid->text().trimmed()),
            Dialect::containsPattern(txtguha->text().trimmed()), Dialect::containsPattern(txtlname->text().trimmed())},
        QStringLiteral("srno"), 0});
}

bool frmfind_land_onew::listFilling() const { return m_owners->filling(); }

void frmfind_land_onew::fadd()
{
    const int row = lvfind->selectedRow();
    if (row < 0)
        return;
    const QString srno = lvfind->text(row, 0);
    const QString shownId = lvfind->text(row, 1);
    const QString house = lvfind->text(row, 2);
    const QString name = lvfind->text(row, 3);

    // The owner's row gives back the letter the list leaves off. Each step goes on when the one before
    // failed: a register that cannot be read leaves the letter off and the owner unconfirmed.
    std::optional<Query> owner;
    try {
        owner = db().first(QStringLiteral("SELECT id FROM landowner WHERE srno = ?"), {Dialect::key(srno)});
    } catch (const DbError &) {
        owner.reset();
    }
    const QString letter = owner ? owner->value(0).mid(kShownIdLength, 1) : QString();
    const QString id = shownId + letter;

    const QString code = labch->text();
    if (code == QLatin1String("1")) {
        // The land register takes only an owner still in the register; the finder stays open otherwise.
        if (!owner)
            return;
        HandBack(m_opener)
            .set("txtid", id)
            .set("labsrno_customr", srno)
            .set("txtguhano", house)
            .set("labname", name)
            .press("cmdcha");
        m_left = true;
        close();
        // Leaving txtid makes the land register look the owner up.
        focusThrough(m_opener, "txtid", "txtlandno");
    } else if (code == QLatin1String("2")) {
        HandBack(m_opener).set("txtid", id);
        m_left = true;
        close();
    } else if (code == QLatin1String("3")) {
        HandBack(m_opener).set("txtid_c", id);
        m_left = true;
        close();
        // Leaving txtid_c makes the successor screen load the new owner.
        focusThrough(m_opener, "txtid_c", "cmdok");
    } else {
        throw HandBackError(QStringLiteral("Hand-back to %1: no caller has the code \"%2\"")
                                .arg(m_opener ? m_opener->objectName() : QString(), code)
                                .toStdString());
    }
}

void frmfind_land_onew::lvfind_Click()
{
    guarded(this, [this] { fadd(); });
}

void frmfind_land_onew::cmdadd_Click()
{
    guarded(this, [this] { fadd(); });
}

void frmfind_land_onew::cmdexit_Click()
{
    guarded(this, [this] { leave(); });
}

void frmfind_land_onew::leave()
{
    m_left = true;
    // The land register restores itself (its cmdcha) when a sub-screen it dimmed itself for is left;
    // when no land register is open, nothing was dimmed for the finder.
    restoreLandRegister(m_opener);
    close();
}

void frmfind_land_onew::closeEvent(QCloseEvent *event)
{
    // Any close that is not one of the finder's own ways out (the window's button, the window system)
    // leaves as "msgúu" does.
    if (!m_left)
        cmdexit_Click();
    QDialog::closeEvent(event);
}

} // namespace parcelon
