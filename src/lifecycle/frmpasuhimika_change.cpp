#include "lifecycle/frmpasuhimika_change.h"

#include "base/dbsession.h"
#include "base/home.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messages.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>

namespace parcelon {
namespace {
constexpr int kWidth = 11400;
constexpr int kHeight = 6600;
constexpr int kRowHeight = 375;
constexpr int kRowStep = 420;
// A holder frame: captions and values, one pair a row, under the frame's title.
constexpr int kFrameWidth = 5340;
constexpr int kFrameCaption = 2000;
constexpr int kFrameValueLeft = 2200;
constexpr int kFrameValue = 3000;
constexpr int kFrameFirstRow = 360;

const QString kNoSuchLand = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");
const QString kNoSuchOwner = QStringLiteral("we;=,;a l< cd;sl yeÿkqïm;a wxlhg o;a; fkdue;");

// A permit number names one land; where a retired land kept the number of an active one, the active
// land is the one meant.
const QString kActiveFirst = QStringLiteral(" ORDER BY CASE WHEN chack = '1' THEN 0 ELSE 1 END, srno");
const QString kLandColumns
    = QStringLiteral("srno, balapa_no1, loan_sbawaya, aythiye_sbawaya, othe_land, p_name, p_naya, land_data, "
                     "labn_owner_srno");

QGroupBox *frame(QWidget *form, const char *name, const QString &title, Twips at)
{
    auto *box = named(form, name, new QGroupBox(title));
    box->setFont(parasFont(12));
    tw::place(box, at.left, at.top, at.width, at.height);
    return box;
}

std::optional<Query> ownerByIdentity(const QString &id)
{
    return db().first(QStringLiteral("SELECT srno, house_no, land_owner_name, gamiya, gama FROM landowner "
                                     "WHERE id = ? ORDER BY srno"),
        {id});
}
} // namespace

frmpasuhimika_change::frmpasuhimika_change(QWidget *opener)
    : QDialog(opener)
{
    build();
    wire();
    Form_Load();
}

void frmpasuhimika_change::build()
{
    setObjectName(QStringLiteral("frmpasuhimika_change"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labname = captionLabel(this, "labname", QStringLiteral(" miq ysñlu ioyd bvu mejeßu"), {0, 0, kWidth, 600});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);

    // The land: its permit number with the search and the hidden loader, then its details.
    Label4 = captionLabel(this, "Label4", QStringLiteral(" bvï wxlh"), {240, 780, 1700, kRowHeight});
    txtlandno = textBox(this, "txtlandno", {2000, 780, 2400, kRowHeight});
    cmd_l_thora = button(this, "cmd_l_thora", QStringLiteral("f;drd"), {4520, 760, 1300, 420});
    cmdff = button(this, "cmdff", QString(), {5900, 800, 300, 300});
    labland_wargaya = valueLabel(this, "labland_wargaya", {6360, 780, 4800, kRowHeight});

    frawargaya = frame(this, "frawargaya", QString(), {240, 1320, 10920, 1680});
    // Two columns of caption and value; the right-hand captions are the longer ones.
    auto inLand = [this](const char *captionName, const QString &caption, const char *valueName, bool right,
                      int top) -> std::pair<QLabel *, QLabel *> {
        const Twips at = right ? Twips {5340, top, 3400, kRowHeight} : Twips {120, top, 2400, kRowHeight};
        QLabel *c = captionLabel(frawargaya, captionName, caption, at);
        QLabel *v = valueLabel(
            frawargaya, valueName, right ? Twips {8800, top, 2000, kRowHeight} : Twips {2580, top, 2600, kRowHeight});
        return {c, v};
    };
    std::tie(labland_sbawaya1, labland_sbawaya)
        = inLand("labland_sbawaya1", QStringLiteral(" bvfñ iajNdjh"), "labland_sbawaya", false, 180);
    std::tie(labaythiye_sbawaya1, labaythiye_sbawaya)
        = inLand("labaythiye_sbawaya1", QStringLiteral(" whs;sfha iajNdjh"), "labaythiye_sbawaya", true, 180);
    std::tie(labbalapath_date1, labbalapa_date)
        = inLand("labbalapath_date1", QStringLiteral(" ksl=;a lr oskh"), "labbalapa_date", false, 660);
    std::tie(labotheland1, labother)
        = inLand("labotheland1", QStringLiteral(" fjk;a bvul fldgila o"), "labother", true, 660);
    std::tie(Label3, labpasuaythiya) = inLand("Label3", QStringLiteral(" miq whs;sh"), "labpasuaythiya", false, 1140);
    labnakama = valueLabel(frawargaya, "labnakama", {5340, 1140, 2600, kRowHeight});

    // The holder and the successor side by side.
    Frame1 = frame(this, "Frame1", QStringLiteral("bvñ ysñhdf.a úia;r"), {240, 3120, kFrameWidth, 2580});
    Frame2 = frame(this, "Frame2", QStringLiteral("miq ysñlï iñnkaO úia;r"), {5820, 3120, kFrameWidth, 2580});
    auto inFrame = [](QGroupBox *f, const char *captionName, const QString &caption, const char *valueName,
                       int row) -> std::pair<QLabel *, QLabel *> {
        const int top = kFrameFirstRow + row * kRowStep;
        QLabel *c = captionLabel(f, captionName, caption, {120, top, kFrameCaption, kRowHeight});
        QLabel *v = valueLabel(f, valueName, {kFrameValueLeft, top, kFrameValue, kRowHeight});
        return {c, v};
    };
    std::tie(labid, labid_l) = inFrame(Frame1, "labid", QStringLiteral(" cd ye wxlh"), "labid_l", 0);
    std::tie(Label8, labguha_l) = inFrame(Frame1, "Label8", QStringLiteral(" .Dy wxlh"), "labguha_l", 1);
    std::tie(Label7, labname_l) = inFrame(Frame1, "Label7", QStringLiteral(" ku"), "labname_l", 2);
    std::tie(labgamiya, labgamiya_l) = inFrame(Frame1, "labgamiya", QStringLiteral(" .%dush jiu"), "labgamiya_l", 3);
    std::tie(labgama, labgama_l) = inFrame(Frame1, "labgama", QStringLiteral(" .fus ku"), "labgama_l", 4);

    Label1 = captionLabel(
        Frame2, "Label1", QStringLiteral(" cd ye wxlh"), {120, kFrameFirstRow, kFrameCaption, kRowHeight});
    txtid_c = textBox(Frame2, "txtid_c", {kFrameValueLeft, kFrameFirstRow, 1800, kRowHeight});
    identityBox(txtid_c);
    cmdfind_c = button(Frame2, "cmdfind_c", QStringLiteral("f;drd"), {4100, kFrameFirstRow - 20, 1100, 420});
    std::tie(Label6, labguha_c) = inFrame(Frame2, "Label6", QStringLiteral(" .Dy wxlh"), "labguha_c", 1);
    std::tie(Label9, labname_c) = inFrame(Frame2, "Label9", QStringLiteral(" ku"), "labname_c", 2);
    std::tie(Label5, labgamiya_c) = inFrame(Frame2, "Label5", QStringLiteral(" .%dush jiu"), "labgamiya_c", 3);
    std::tie(Label2, labgama_c) = inFrame(Frame2, "Label2", QStringLiteral(" .fus ku"), "labgama_c", 4);

    cmdok = button(this, "cmdok", QStringLiteral("we;=,a lsßu"), {7560, 5940, 1700, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {9460, 5940, 1700, 420});

    labownerno = hiddenLabel(this, "labownerno");
    labsrno = hiddenLabel(this, "labsrno");
    lablandowner_srno = hiddenLabel(this, "lablandowner_srno");

    setTabOrder(txtlandno, txtid_c);
    setTabOrder(txtid_c, cmdok);
    setTabOrder(cmdok, cmdexit);
    setTabOrder(cmdexit, cmd_l_thora);
    setTabOrder(cmd_l_thora, cmdfind_c);
    // The loader is pressed by the land search, never reached with the keys.
    cmdff->setFocusPolicy(Qt::NoFocus);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this, {{"Label4", "txtlandno"}, {"Label1", "txtid_c"}});
}

void frmpasuhimika_change::wire()
{
    Events::of(txtlandno).lostFocus([this] { guarded(this, [this] { flan_a(); }); });
    connect(cmdff, &QPushButton::clicked, this, [this] { guarded(this, [this] { flan_a(); }); });
    Events::of(txtid_c).lostFocus([this] { txtid_c_LostFocus(); });
    connect(cmd_l_thora, &QPushButton::clicked, this, &frmpasuhimika_change::cmd_l_thora_Click);
    connect(cmdfind_c, &QPushButton::clicked, this, &frmpasuhimika_change::cmdfind_c_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmpasuhimika_change::cmdok_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmpasuhimika_change::cmdexit_Click);
}

void frmpasuhimika_change::Form_Load()
{
    center_form(this);
    txtlandno->setFocus();
    guarded(this, [this] {
        // A user who may only look cannot pass a land on.
        if (permissionLevel(session::userSrno(), Flag::Succession) == ViewOnly)
            cmdok->setEnabled(false);
    });
}

void frmpasuhimika_change::flan_a()
{
    if (txtlandno->text().isEmpty())
        return;
    const std::optional<Query> land
        = db().first(QStringLiteral("SELECT %1 FROM land WHERE balapa_no = ?").arg(kLandColumns) + kActiveFirst,
            {txtlandno->text()});
    if (!land) {
        message(this, kNoSuchLand);
        txtlandno->clear();
        return;
    }
    labland_wargaya->setText(land->value(QStringLiteral("balapa_no1")));
    labland_sbawaya->setText(land->value(QStringLiteral("loan_sbawaya")));
    labaythiye_sbawaya->setText(land->value(QStringLiteral("aythiye_sbawaya")));
    labother->setText(land->value(QStringLiteral("othe_land")));
    labpasuaythiya->setText(land->value(QStringLiteral("p_name")));
    labnakama->setText(land->value(QStringLiteral("p_naya")));
    labbalapa_date->setText(land->value(QStringLiteral("land_data")));
    labsrno->setText(land->value(QStringLiteral("srno")));
    labownerno->setText(land->value(QStringLiteral("labn_owner_srno")));

    // A holder whose row is gone leaves the holder's details empty.
    const std::optional<Query> holder
        = db().first(QStringLiteral("SELECT id, house_no, land_owner_name, gamiya, gama FROM landowner WHERE srno = ?"),
            {Dialect::key(labownerno->text())});
    const std::initializer_list<QLabel *> shown {labid_l, labguha_l, labname_l, labgamiya_l, labgama_l};
    int column = 0;
    for (QLabel *value : shown)
        value->setText(holder ? holder->value(column++) : QString());
}

void frmpasuhimika_change::txtid_c_LostFocus()
{
    guarded(this, [this] {
        if (txtid_c->text().isEmpty())
            return;
        const std::optional<Query> successor = ownerByIdentity(txtid_c->text());
        if (!successor) {
            message(this, kNoSuchOwner);
            txtid_c->clear();
            return;
        }
        labguha_c->setText(successor->value(QStringLiteral("house_no")));
        labname_c->setText(successor->value(QStringLiteral("land_owner_name")));
        labgamiya_c->setText(successor->value(QStringLiteral("gamiya")));
        labgama_c->setText(successor->value(QStringLiteral("gama")));
        lablandowner_srno->setText(successor->value(QStringLiteral("srno")));
    });
}

void frmpasuhimika_change::cmd_l_thora_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmland_search, this,
            [](QDialog *search) { HandBack(search).set("labch", QStringLiteral("6")); });
    });
}

void frmpasuhimika_change::cmdfind_c_Click()
{
    guarded(this, [this] {
        Screens::open(ScreenId::frmfind_land_onew, this,
            [](QDialog *finder) { HandBack(finder).set("labch", QStringLiteral("3")); });
    });
}

frmpasuhimika_change::Stored frmpasuhimika_change::storeSuccession()
{
    // The land and the successor are read again under the lock: another workstation may have changed
    // the land's number or holder, or the successor's row, since they were loaded. The succession row
    // records the land and its holder as they are when it is stored.
    Stored stored = Stored::Done;
    db().lockedChange([&] {
        const std::optional<Query> land
            = db().first(QStringLiteral("SELECT %1 FROM land WHERE srno = ? AND balapa_no = ?").arg(kLandColumns),
                {Dialect::key(labsrno->text()), txtlandno->text()});
        if (!land) {
            stored = Stored::NoLand;
            return;
        }
        const std::optional<Query> successor = ownerByIdentity(txtid_c->text());
        if (!successor) {
            stored = Stored::NoSuccessor;
            return;
        }
        const QString holderSrno = land->value(QStringLiteral("labn_owner_srno"));
        const QString holderId
            = db().scalar(QStringLiteral("SELECT id FROM landowner WHERE srno = ?"), {Dialect::key(holderSrno)});
        const QString successorSrno = successor->value(QStringLiteral("srno"));
        const QString landSrno = land->value(QStringLiteral("srno"));
        db().execute(QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, id, newcus_srno, land_srno, "
                                    "land_wargaya, pasuaythiya, nadakam, landno) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {holderSrno, holderId, successorSrno, landSrno, land->value(QStringLiteral("balapa_no1")),
                land->value(QStringLiteral("p_name")), land->value(QStringLiteral("p_naya")), txtlandno->text()});
        db().execute(QStringLiteral("UPDATE land SET id = ?, guhasth = ?, labn_owner_srno = ? WHERE srno = ?"),
            {txtid_c->text(), successor->value(QStringLiteral("house_no")), successorSrno, Dialect::key(landSrno)});
    });
    return stored;
}

void frmpasuhimika_change::cmdok_Click()
{
    guarded(this, [this] {
        if (txtlandno->text().isEmpty() || txtid_c->text().isEmpty())
            return;
        switch (storeSuccession()) {
        case Stored::Done:
            clearScreen();
            txtlandno->setFocus();
            break;
        case Stored::NoLand:
            message(this, kNoSuchLand);
            txtlandno->clear();
            txtlandno->setFocus();
            break;
        case Stored::NoSuccessor:
            message(this, kNoSuchOwner);
            txtid_c->clear();
            txtid_c->setFocus();
            break;
        }
    });
}

void frmpasuhimika_change::clearScreen()
{
    txtlandno->clear();
    txtid_c->clear();
    for (QLabel *value : {labland_wargaya, labland_sbawaya, labaythiye_sbawaya, labbalapa_date, labpasuaythiya,
             labnakama, labother, labid_l, labguha_l, labname_l, labgamiya_l, labgama_l, labguha_c, labname_c,
             labgamiya_c, labgama_c, labownerno, labsrno, lablandowner_srno})
        value->clear();
}

void frmpasuhimika_change::cmdexit_Click()
{
    guarded(this, [this] { close(); });
}

} // namespace parcelon
