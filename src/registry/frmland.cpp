// The land register: its controls, layout, load and permission levels, the field colours, the Enter
// order of the fields that belong to no other duty, the next number and the reset.

#include "registry/frmland.h"

#include "base/dbsession.h"
#include "base/landvalues.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"
#include "ui/rowlayout.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <initializer_list>

namespace parcelon {
namespace {
constexpr int kRow = rows::kHeight;
constexpr int kButtonHeight = rows::kButtonHeight;
constexpr int kGapCaption = rows::kGapCaption;

// The value lists, in the order a clerk sees them; the first entry of each is shown at load and after a
// reset unless named otherwise.
const QStringList &extentUnits()
{
    static const QStringList entries {QStringLiteral("1 - fylaghd¾"), QStringLiteral("2 - wlalr")};
    return entries;
}
const QStringList &portionAnswers()
{
    static const QStringList entries {QStringLiteral("1- Tõ"), QStringLiteral("2- ke;")};
    return entries;
}
const QString kPortionDefault = QStringLiteral("2- ke;");
// What labsathara shows when a land's boundaries are recorded.
const QString kBoundariesRecorded = QStringLiteral("igyka lr we;");
const QString kRelationshipLast = QStringLiteral("{d;ska tla lsßu");

QFrame *frame(QWidget *form, const char *name)
{
    auto *f = named(form, name, new QFrame);
    f->setFrameStyle(QFrame::Box | QFrame::Plain);
    setBackground(f, colours::work);
    return f;
}

} // namespace

frmland::frmland(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void frmland::build()
{
    setObjectName(QStringLiteral("frmland"));
    // The title bar is drawn in the system font, where legacy text reads as Latin letters.
    setWindowTitle(applicationTitle());
    setFont(parasFont(12));
    setBackground(this, colours::work);

    labhname = named(this, "labhname", new QLabel(QStringLiteral("l=Tqre yd bvï o;a; moaO;sh")));
    labhname->setFont(parasFont(18));
    labhname->setAlignment(Qt::AlignCenter);
    titleBand(labhname);

    // The owner.
    fracuster = frame(this, "fracuster");
    labno1 = captionLabel(fracuster, "labno1", QStringLiteral(" wkq wxlh"));
    labno = textBox(fracuster, "labno");
    // New mode: the number the next land is expected to receive, not to be typed.
    labno->setEnabled(false);
    paintField(labno, colours::shownNumber);
    labid = captionLabel(fracuster, "labid", QStringLiteral(" cd ye wxlh"));
    txtid = textBox(fracuster, "txtid", {}, 10);
    Label1 = captionLabel(fracuster, "Label1", QStringLiteral(" .Dy uq,sl wxlh"));
    txtguhano = textBox(fracuster, "txtguhano");
    txtid->setFont(heavyLatinFont(11));
    txtguhano->setFont(heavyLatinFont(11));
    // The next number and a found owner's household are shown in disabled boxes: they stay readable.
    for (QLineEdit *shown : {labno, txtguhano}) {
        QPalette palette = shown->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
        shown->setPalette(palette);
    }
    labname1 = captionLabel(fracuster, "labname1", QStringLiteral(" bvï ysñhdf.a ku"));
    labname = valueLabel(fracuster, "labname", {}, colours::shownNumber);
    cmdfind = button(fracuster, "cmdfind", QStringLiteral("f;drd"));
    cmdnew = button(fracuster, "cmdnew", QStringLiteral("kj"));
    cmdedit = button(fracuster, "cmdedit", QStringLiteral("fjkia lsÍu"));
    labsrno_customr = named(this, "labsrno_customr", new QLabel);
    labsrno_customr->setFont(latinFont(11, true));
    labcha = hiddenLabel(this, "labcha");

    // The permit number and place.
    lablanddetels = captionLabel(this, "lablanddetels", QStringLiteral("bvu ms<sn| úia;r"));
    fralandno = frame(this, "fralandno");
    Label4 = captionLabel(fralandno, "Label4", QStringLiteral(" bvï wxlh"));
    cmblandno = dropDown(fralandno, "cmblandno");
    txtlandno = textBox(fralandno, "txtlandno");
    labadd = captionLabel(fralandno, "labadd", QStringLiteral(" ,smskh"));
    txtadd = textBox(fralandno, "txtadd");
    cmdsathara = button(fralandno, "cmdsathara", QStringLiteral("i;r udhsï"));
    labsathara = valueLabel(fralandno, "labsathara", {}, colours::shownNumber);
    cmdchange_name = button(fralandno, "cmdchange_name", QStringLiteral("wxlh fjkia lsÍu"));
    cmdsathara->setEnabled(false); // until txtlandno holds a permit number

    // The extent.
    fraland_pamanaya = frame(this, "fraland_pamanaya");
    labland_pramanaya = captionLabel(fraland_pamanaya, "labland_pramanaya", QStringLiteral(" bvfñ m%udKh"));
    cmbakkara = dropDown(fraland_pamanaya, "cmbakkara");
    txtakkara = textBox(fraland_pamanaya, "txtakkara");
    labrud = captionLabel(fraland_pamanaya, "labrud", QStringLiteral(" reâ"));
    txtrud = textBox(fraland_pamanaya, "txtrud");
    labparchase = captionLabel(fraland_pamanaya, "labparchase", QStringLiteral(" m¾pia"));
    txtparchase = textBox(fraland_pamanaya, "txtparchase");
    Label2 = captionLabel(fraland_pamanaya, "Label2", QStringLiteral(" bvfñ m%udKh wlalr j,ska"));
    txtakkara_only = textBox(fraland_pamanaya, "txtakkara_only");
    labkatti = captionLabel(fraland_pamanaya, "labkatti", QStringLiteral(" lÜá wxlh"));
    txtkatti = textBox(fraland_pamanaya, "txtkatti");
    for (QLineEdit *box : {txtakkara, txtrud, txtparchase, txtakkara_only})
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLineEdit *box : {txtakkara, txtrud, txtparchase})
        extentBox(box);

    // The kinds, the permit date and the successor.
    frawargaya = frame(this, "frawargaya");
    labland_sbawaya = captionLabel(frawargaya, "labland_sbawaya", QStringLiteral(" bvfñ iajNdjh"));
    cmbland_sabawaya = dropDown(frawargaya, "cmbland_sabawaya");
    labaythiye_sbawaya = captionLabel(frawargaya, "labaythiye_sbawaya", QStringLiteral(" whs;sfha iajNdjh"));
    cmbaythiy_sbawaya = dropDown(frawargaya, "cmbaythiy_sbawaya");
    labotheland = captionLabel(frawargaya, "labotheland", QStringLiteral(" fjk;a bvul fldgila o"));
    cmbothland = dropDown(frawargaya, "cmbothland");
    cmbothland->setEditable(true);
    cmbothland->lineEdit()->setMaxLength(kTextColumnLength);
    labbalapath_date = captionLabel(frawargaya, "labbalapath_date", QStringLiteral(" ksl=;a lr oskh"));
    // Ten characters, day and month and year of digits between "$" separators, which PARAS-N draws as
    // the date separator. "0" lets a place stay blank, as an unfinished date may be.
    mkbalapath_date = textBox(frawargaya, "mkbalapath_date");
    mkbalapath_date->setInputMask(QStringLiteral("00$00$0000;_"));
    Label3 = captionLabel(frawargaya, "Label3", QStringLiteral(" miq whs;sh"));
    txtpasuaythiya = textBox(frawargaya, "txtpasuaythiya");
    cmbpasuaythiya = dropDown(frawargaya, "cmbpasuaythiya");
    cmdnanayo = button(frawargaya, "cmdnanayo", QStringLiteral("Command1"));
    cmdnanayo->setFont(latinFont(8));

    // Tank, division and village, with their pickers.
    labwawa = captionLabel(this, "labwawa", QStringLiteral(" jefú ku"));
    txtwawa = textBox(this, "txtwawa");
    labkottasaya = captionLabel(this, "labkottasaya", QStringLiteral(" .%dush jiu"));
    txtkottasaya = textBox(this, "txtkottasaya");
    labgama = captionLabel(this, "labgama", QStringLiteral(" .fus ku"));
    cmbgama = dropDown(this, "cmbgama");
    cmbgama->setEditable(true);
    cmbgama->lineEdit()->setMaxLength(kTextColumnLength);
    lvwawa = named(this, "lvwawa", new ListView);
    lvkottashya = named(this, "lvkottashya", new ListView);
    for (ListView *picker : {lvwawa, lvkottashya}) {
        picker->setFont(parasFont(12));
        picker->setColumns({{QStringLiteral("wawa"), 3000}});
        picker->header()->setFont(latinFont(9));
        picker->hide();
    }

    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"));
    cmdenter = button(this, "cmdenter", QStringLiteral("we;=,a lsßu"));
    cmdupdate = button(this, "cmdupdate", QStringLiteral("fjkia lsßu"));
    cmddeleter = button(this, "cmddeleter", QStringLiteral("bj;a lsßu"));
    cmdcha = button(this, "cmdcha", QString());
    cmdcha->hide();
    lvland = named(this, "lvland", new ListView);
    m_allLands = new PagedFill(lvland, this, [](const Query &row) {
        QStringList line;
        for (int column = 0; column < 8; ++column)
            line << row.value(column);
        return line;
    });
    lvland->setFont(parasFont(12));

    // The fields, in their tab order; the controls without a place in it follow.
    QWidget *order[] = {txtid, txtguhano, txtlandno, txtadd, txtakkara, txtrud, txtparchase, txtakkara_only,
        cmbland_sabawaya, cmbaythiy_sbawaya, cmbothland, txtwawa, txtkottasaya, cmdenter, cmdexit, cmddeleter,
        cmdupdate, cmdnew, cmdfind, labno, cmdedit, cmdchange_name, cmblandno, cmdsathara, cmbakkara, txtkatti,
        txtpasuaythiya, cmbpasuaythiya, mkbalapath_date, cmbgama, cmdnanayo, lvland};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Violet while a field has the focus. The fields whose leaving does more (the owner, the permit number,
    // the extent, the change-mode number) restore light yellow in their own LostFocus handlers.
    for (QWidget *field : std::initializer_list<QWidget *> {txtid, txtguhano, labno, txtlandno, txtadd, txtkatti,
             txtakkara, txtrud, txtparchase, txtakkara_only, cmbland_sabawaya, cmbaythiy_sbawaya})
        Events::of(field).gotFocus([field] {
            if (field->isEnabled())
                paintField(field, colours::focus);
        });
    Events::of(cmbothland).gotFocus([this] {
        paintField(cmbothland, colours::focus);
        lvwawa->hide();
    });
    for (QWidget *field : std::initializer_list<QWidget *> {
             txtadd, txtkatti, txtakkara_only, cmbland_sabawaya, cmbaythiy_sbawaya, cmbothland})
        Events::of(field).lostFocus([field] { paintField(field, colours::field); });
    connect(txtakkara_only, &QLineEdit::textChanged, this, [this] { paintField(txtakkara_only, colours::field); });

    // Enter walks the fields in the order a clerk fills a permit. The owner boxes, the permit number, the
    // roods and perches, the tank and the division move on in their own duties.
    const std::pair<QWidget *, QWidget *> enterOrder[] = {{txtadd, cmbland_sabawaya}, {cmbland_sabawaya, txtkatti},
        {txtkatti, txtakkara}, {cmbaythiy_sbawaya, cmbothland}, {cmbothland, cmdenter}};
    for (const auto &[from, to] : enterOrder) {
        QWidget *next = to;
        Events::of(from).enter([next] { next->setFocus(Qt::TabFocusReason); });
    }

    connect(cmdcha, &QPushButton::clicked, this, &frmland::cmdcha_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland::cmdexit_Click);

    wireOwner();
    wireSave();
    wireChange();
    wireLists();

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"labno1", "labno"}, {"labid", "txtid"}, {"Label1", "txtguhano"}, {"labname1", "labname"},
            {"Label4", "cmblandno"}, {"labadd", "txtadd"}, {"labland_pramanaya", "txtakkara"}, {"labrud", "txtrud"},
            {"labparchase", "txtparchase"}, {"Label2", "txtakkara_only"}, {"labkatti", "txtkatti"},
            {"labland_sbawaya", "cmbland_sabawaya"}, {"labaythiye_sbawaya", "cmbaythiy_sbawaya"},
            {"labotheland", "cmbothland"}, {"labbalapath_date", "mkbalapath_date"}, {"Label3", "txtpasuaythiya"},
            {"labwawa", "txtwawa"}, {"labkottasaya", "txtkottasaya"}, {"labgama", "cmbgama"}});
}

void frmland::layoutScreen()
{
    // The screen lies over the main menu: its left, top and width, and its height less 600 twips. The
    // window's frame counts in that area, so the frame too stays on the screen.
    cover_main_menu(this);

    const int width = toTwips(this->width());
    const int height = toTwips(this->height());
    const int inner = width - 400;
    tw::place(labhname, 200, 200, inner, 600);

    // The owner frame leaves room at its right for the owner number.
    const int numberWidth = 1300;
    const int ownerWidth = inner - numberWidth - 100;
    int top = tw::bottom(labhname) + 100;
    tw::place(fracuster, 200, top, ownerWidth, 1100);
    tw::place(labsrno_customr, 200 + ownerWidth + 100, top + 100, numberWidth, kRow);
    Row(100, 100).caption(labno1).box(labno, 1100).caption(labid).box(txtid, 2200).caption(Label1).box(txtguhano, 2200);
    const int buttons = fit(cmdfind, 1200) + fit(cmdnew, 1200) + fit(cmdedit, 1500) + 2 * 100;
    Row owner(100, 600);
    owner.caption(labname1);
    owner.box(labname, std::max(1500, ownerWidth - 100 - buttons - 200 - owner.x()));
    owner.box(cmdfind, fit(cmdfind, 1200), 100, kButtonHeight)
        .box(cmdnew, fit(cmdnew, 1200), 100, kButtonHeight)
        .box(cmdedit, fit(cmdedit, 1500), 100, kButtonHeight);
    tw::setTop(cmdfind, 550);
    tw::setTop(cmdnew, 550);
    tw::setTop(cmdedit, 550);

    top = tw::bottom(fracuster) + 100;
    tw::place(lablanddetels, 200, top, fit(lablanddetels), 350);
    top = tw::bottom(lablanddetels) + 100;
    tw::place(fralandno, 200, top, inner, 1100);
    Row permit(100, 100);
    permit.caption(Label4).box(cmblandno, fitCombo(cmblandno, permitKinds()), 50).box(txtlandno, 2200).caption(labadd);
    permit.box(txtadd, std::max(1500, inner - 100 - permit.x()));
    Row(100 + fit(Label4) + kGapCaption, 600)
        .box(cmdsathara, fit(cmdsathara, 1400), 100, kButtonHeight)
        .box(labsathara,
            std::max(2000, toTwips(labsathara->fontMetrics().horizontalAdvance(kBoundariesRecorded)) + 200), 200)
        .box(cmdchange_name, fit(cmdchange_name, 1800), 0, kButtonHeight);
    tw::setTop(cmdsathara, 550);
    tw::setTop(cmdchange_name, 550);

    top = tw::bottom(fralandno) + 100;
    tw::place(fraland_pamanaya, 200, top, inner, 1100);
    Row(100, 100)
        .caption(labland_pramanaya)
        .box(cmbakkara, fitCombo(cmbakkara, extentUnits()), 50)
        .box(txtakkara, 1200)
        .caption(labrud)
        .box(txtrud, 900)
        .caption(labparchase)
        .box(txtparchase, 900);
    Row(100, 600).caption(Label2).box(txtakkara_only, 1500).caption(labkatti).box(txtkatti, 2000);

    top = tw::bottom(fraland_pamanaya) + 100;
    tw::place(frawargaya, 200, top, inner, 1100);
    Row(100, 100)
        .caption(labland_sbawaya)
        .box(cmbland_sabawaya, fitCombo(cmbland_sabawaya, landNatures()))
        .caption(labaythiye_sbawaya)
        .box(cmbaythiy_sbawaya, fitCombo(cmbaythiy_sbawaya, ownershipKinds()))
        .caption(labotheland)
        .box(cmbothland, fitCombo(cmbothland, portionAnswers()));
    QStringList relationships;
    for (int i = 0; i < cmbpasuaythiya->count(); ++i)
        relationships << cmbpasuaythiya->itemText(i);
    Row(100, 600)
        .caption(labbalapath_date)
        .box(mkbalapath_date, 1600)
        .caption(Label3)
        .box(txtpasuaythiya, 2600, 50)
        .box(cmbpasuaythiya, fitCombo(cmbpasuaythiya, relationships << kRelationshipLast, 2000), 50)
        .box(cmdnanayo, fit(cmdnanayo, 400), 0, kRow);

    // The tank row: each box just right of its caption, the village list a little further.
    top = tw::bottom(frawargaya) + 100;
    Row(200, top)
        .caption(labwawa)
        .box(txtwawa, 2600)
        .caption(labkottasaya)
        .box(txtkottasaya, 3000)
        .caption(labgama)
        .box(cmbgama, 3000, 0);
    tw::setLeft(cmbgama, tw::right(labgama) + 100);
    // The pickers hang under their boxes, over whatever lies below while they are open.
    tw::place(lvwawa, tw::left(txtwawa), tw::bottom(txtwawa), std::max(3000, tw::width(txtwawa)), 2400);
    tw::place(
        lvkottashya, tw::left(txtkottasaya), tw::bottom(txtkottasaya), std::max(3000, tw::width(txtkottasaya)), 2400);
    lvwawa->raise();
    lvkottashya->raise();

    // The buttons, right-aligned under the tank row, the exit outermost.
    const int buttonTop = tw::bottom(txtwawa) + 200;
    int right = width - 200;
    for (QPushButton *b : {cmdexit, cmdenter, cmdupdate}) {
        const int w = fit(b, 1600);
        tw::place(b, right - w, buttonTop, w, kButtonHeight);
        right -= w + 200;
    }
    right += 200;
    const int deleteWidth = fit(cmddeleter, 1600);
    tw::place(cmddeleter, right - deleteWidth, buttonTop, deleteWidth, kButtonHeight);

    const int listTop = buttonTop + kButtonHeight + 200;
    tw::place(lvland, 200, listTop, inner, std::max(600, height - 200 - listTop));
}

int frmland::permitWidth() const
{
    // The permit column takes what the others leave (a narrow screen keeps it readable).
    return std::max(2000, tw::width(lvland) - 1600 - 1750 - 2200 - 1500 - 2100 - 300);
}

void frmland::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The frame is known now: lay the screen out again inside it when it differs from what was assumed.
    const QRect before = geometry();
    layoutScreen();
    if (geometry() != before)
        lvland->setColumnWidth(2, twips(permitWidth()));
}

void frmland::Form_Load()
{
    guarded(this, [this] {
        layoutScreen();
        lvland->setColumns({{QStringLiteral(".Dy wxlh"), 1600}, {QStringLiteral("cd ye wxlh"), 1750},
            {QStringLiteral("n,m;% ku  yd wxlh"), permitWidth()}, {QStringLiteral("n,m;% ku"), 0},
            {QStringLiteral(" bvfñ iajNdjh"), 2200}, {QStringLiteral(" wlalr"), 1500},
            {QStringLiteral("whs;sfha iaNdjh"), 0}, {QStringLiteral("b'il%shNdjh"), 2100}});
        lvland->setColumnHidden(3, true);
        lvland->setColumnHidden(6, true);

        cmdenter->setEnabled(true);
        cmdupdate->setEnabled(false);
        cmddeleter->setEnabled(false);

        cmblandno->addItems(permitKinds());
        cmbland_sabawaya->addItems(landNatures());
        cmbaythiy_sbawaya->addItems(ownershipKinds());
        cmbakkara->addItems(extentUnits());
        cmbothland->addItems(portionAnswers());
        fillRelationships();
        cmblandno->setCurrentIndex(0);
        cmbland_sabawaya->setCurrentIndex(0);
        cmbaythiy_sbawaya->setCurrentIndex(0);
        cmbakkara->setCurrentIndex(0);
        cmbothland->setCurrentText(kPortionDefault);
        cmbpasuaythiya->setCurrentIndex(0);
        // The relationship list's width follows its entries.
        layoutScreen();

        land_all();
        fno();

        const int level = permissionLevel(session::userSrno(), Flag::Lands);
        if (level == ViewOnly) {
            for (QWidget *w : std::initializer_list<QWidget *> {txtid, txtguhano, cmdedit, cmdfind, cmdnew, txtlandno})
                w->setEnabled(false);
        } else if (level == EntryOnlyOrAll) {
            cmdedit->setEnabled(false);
        }
    });
}

void frmland::fillRelationships()
{
    // A blank entry first (no successor), then the kinds in their numbered order, then the entry that
    // opens their maintenance screen.
    cmbpasuaythiya->clear();
    cmbpasuaythiya->addItem(QStringLiteral(" "));
    Query rows = db().select(QStringLiteral("SELECT srno, nathisambandaya FROM nadayo ORDER BY srno"));
    while (rows.next())
        cmbpasuaythiya->addItem(rows.value(0) + QStringLiteral("-") + QStringLiteral(" ") + rows.value(1));
    cmbpasuaythiya->addItem(kRelationshipLast);
}

void frmland::fno() { labno->setText(db().recordNumber(QStringLiteral("land"))); }

void frmland::home_mumant()
{
    for (QLineEdit *box : {txtlandno, txtadd, txtkatti, txtakkara, txtrud, txtparchase, txtwawa, txtid, txtguhano,
             txtpasuaythiya, txtkottasaya, txtakkara_only})
        box->clear();
    labname->clear();
    cmblandno->setCurrentIndex(0);
    cmbland_sabawaya->setCurrentIndex(0);
    cmbaythiy_sbawaya->setCurrentIndex(0);
    cmbakkara->setCurrentIndex(0);
    cmbothland->setCurrentText(kPortionDefault);
}

bool frmland::inChangeMode() const { return labno->isEnabled(); }

void frmland::dimForSubScreen()
{
    dim_home();
    set_alpha(this, sharedAlpha());
}

void frmland::cmdcha_Click()
{
    undim_home();
    set_alpha(this, sharedAlpha());
}

void frmland::cmdexit_Click() { close(); }

} // namespace parcelon
