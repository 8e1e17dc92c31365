// The land owner register: its controls, layout, load and permission modes, the identity box's key
// handling and the Enter order. The look-ups and the writes are in frmlandoner_lookup.cpp.

#include "registry/frmlandoner.h"

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

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include <algorithm>

namespace parcelon {
namespace {
constexpr int kRowHeight = 400;
constexpr int kRowStep = 500;
constexpr int kFormTop = 1000;
constexpr int kCaptionWidth = 3000;
constexpr int kButtonWidth = 1800;
constexpr int kButtonHeight = 495;

} // namespace

frmlandoner::frmlandoner(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void frmlandoner::build()
{
    setObjectName(QStringLiteral("frmlandoner"));
    // The title bar is drawn in the system font, where legacy text reads as Latin letters.
    setWindowTitle(applicationTitle());
    setFont(parasFont(12));
    setBackground(this, colours::work);

    labname = named(this, "labname", new QLabel(QStringLiteral("bvï ysï kdu f,aLKh")));
    labname->setFont(parasFont(20));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);

    Label1 = captionLabel(this, "Label1", QStringLiteral(" wkq wxlh"));
    labno = valueLabel(this, "labno");
    Label3 = captionLabel(this, "Label3", QStringLiteral(" cd ye wxlh"));
    txtid = textBox(this, "txtid", {}, 10);
    Label8 = captionLabel(this, "Label8", QStringLiteral(" .Dy uq,sl wxlh"));
    txtguhano = textBox(this, "txtguhano", {}, 50);
    txtid->setFont(heavyLatinFont(12));
    txtguhano->setFont(heavyLatinFont(12));
    Label7 = captionLabel(this, "Label7", QStringLiteral(" bvñ ysñhdf.a ku"));
    txtlandname = textBox(this, "txtlandname", {}, 200);
    Label6 = captionLabel(this, "Label6", QStringLiteral(" ,smskh 1"));
    txtad1 = textBox(this, "txtad1", {}, 100);
    Label5 = captionLabel(this, "Label5", QStringLiteral(" ,smskh 2"));
    txtad2 = textBox(this, "txtad2", {}, 100);
    Label4 = captionLabel(this, "Label4", QStringLiteral(" ,smskh 3"));
    txtad3 = textBox(this, "txtad3", {}, 100);
    Label11 = captionLabel(this, "Label11", QStringLiteral(" ,smskh 4"));
    txtad4 = textBox(this, "txtad4", {}, 100);
    Label10 = captionLabel(this, "Label10", QStringLiteral(" mjqf,a idudðl .Kk"));
    txtsamajikano = textBox(this, "txtsamajikano", {}, 50);
    txtsamajikano->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label9 = captionLabel(this, "Label9", QStringLiteral(" /lshdj"));
    txtjop = textBox(this, "txtjop", {}, 200);
    Label12 = captionLabel(this, "Label12", QStringLiteral(" jd¾Isl wdodhu"));
    txtadayama = textBox(this, "txtadayama", {}, 50);
    txtadayama->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labgamiya = captionLabel(this, "labgamiya", QStringLiteral(" .%dush jiu"));
    cmbgamiya = dropDown(this, "cmbgamiya");
    labgama = captionLabel(this, "labgama", QStringLiteral(" .fus ku"));
    cmbgama = dropDown(this, "cmbgama");
    Label2 = captionLabel(this, "Label2", QStringLiteral(".sKqfus iajNdjh"));
    labsakiya = valueLabel(this, "labsakiya");
    labsakiya->setText(QStringLiteral("kj"));
    labcha = hiddenLabel(this, "labcha");
    labcu = hiddenLabel(this, "labcu");

    lvdetels = named(this, "lvdetels", new ListView);
    lvdetels->setFont(parasFont(12));

    cmdnew = button(this, "cmdnew", QStringLiteral("kj bvï ysñhka"));
    cmdok = button(this, "cmdok", QStringLiteral("we;=,a lsßu"));
    cmdupdata = button(this, "cmdupdata", QStringLiteral("fjkia lsßu"));
    cmddelete = button(this, "cmddelete", QStringLiteral("wl%sh lsßu"));
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"));
    cmdselect = button(this, "cmdselect", QString());
    cmdselect->hide();
    // A new owner is being entered until a look-up loads one.
    cmdupdata->setEnabled(false);
    cmddelete->setEnabled(false);

    // The numbered boxes and the save button first, then the place and the other buttons.
    QWidget *order[] = {txtid, txtguhano, txtlandname, txtad1, txtad2, txtad3, txtad4, txtsamajikano, txtjop,
        txtadayama, cmdok, cmbgamiya, cmbgama, cmdupdata, cmddelete, cmdexit, cmdnew, lvdetels};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    comboClick(cmbgamiya, [this] { cmbgamiya_Click(); });
    // Only the clerk's own pick changes a loaded owner's place: activated is never sent by code.
    for (QComboBox *place : {cmbgamiya, cmbgama})
        connect(place, &QComboBox::activated, this, [this] { m_placeChosen = true; });
    identityBox(txtid);
    Events::of(txtid).keyUp([this](QKeyEvent *e) { txtid_KeyUp(e->key()); }).lostFocus([this] { txtid_LostFocus(); });
    connect(txtid, &QLineEdit::textChanged, this, [this] { txtid_Change(); });
    connect(txtguhano, &QLineEdit::textChanged, this, [this] { txtguhano_Change(); });
    Events::of(txtguhano).lostFocus([this] { txtguhano_LostFocus(); });
    connect(txtlandname, &QLineEdit::textChanged, this, [this] { txtlandname_Change(); });
    Events::of(txtlandname).lostFocus([this] { txtlandname_LostFocus(); });

    // Enter walks the owner's details in the order a clerk fills them, then to the save button.
    const std::pair<QLineEdit *, QWidget *> enterOrder[]
        = {{txtguhano, txtlandname}, {txtlandname, txtad1}, {txtad1, txtad2}, {txtad2, txtad3}, {txtad3, txtad4},
            {txtad4, txtsamajikano}, {txtsamajikano, txtjop}, {txtjop, txtadayama}, {txtadayama, cmdok}};
    for (const auto &[from, to] : enterOrder) {
        QWidget *next = to;
        Events::of(from).enter([next] { next->setFocus(Qt::TabFocusReason); });
    }

    connect(cmdnew, &QPushButton::clicked, this, &frmlandoner::cmdnew_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmlandoner::cmdok_Click);
    connect(cmdupdata, &QPushButton::clicked, this, &frmlandoner::cmdupdata_Click);
    connect(cmddelete, &QPushButton::clicked, this, &frmlandoner::cmddelete_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmlandoner::cmdexit_Click);
    connect(cmdselect, &QPushButton::clicked, this, &frmlandoner::cmdselect_Click);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"Label1", "labno"}, {"Label3", "txtid"}, {"Label8", "txtguhano"}, {"Label7", "txtlandname"},
            {"Label6", "txtad1"}, {"Label5", "txtad2"}, {"Label4", "txtad3"}, {"Label11", "txtad4"},
            {"Label10", "txtsamajikano"}, {"Label9", "txtjop"}, {"Label12", "txtadayama"}, {"labgamiya", "cmbgamiya"},
            {"labgama", "cmbgama"}, {"Label2", "labsakiya"}});
}

void frmlandoner::layoutScreen()
{
    // The screen lies over the main menu: its left, top and width, and its height less 600 twips. The
    // window's frame counts in that area, so the frame too stays on the screen.
    cover_main_menu(this);

    const int width = toTwips(this->width());
    const int height = toTwips(this->height());
    tw::place(labname, 200, 200, width - 400, 600);

    // Two columns of caption and box share the width between the margins.
    const int column = (width - 400 - 400) / 2;
    const int boxWidth = std::max(1000, column - kCaptionWidth - 100);
    const int leftBox = 200 + kCaptionWidth + 100;
    const int rightCaption = 200 + column + 400;
    const int rightBox = rightCaption + kCaptionWidth + 100;
    auto row = [](int i) { return kFormTop + i * kRowStep; };
    const std::pair<QWidget *, QWidget *> left[] = {{Label1, labno}, {Label3, txtid}, {Label8, txtguhano},
        {Label7, txtlandname}, {Label6, txtad1}, {Label5, txtad2}, {Label4, txtad3}, {Label11, txtad4}};
    const std::pair<QWidget *, QWidget *> right[] = {{Label2, labsakiya}, {labgamiya, cmbgamiya}, {labgama, cmbgama},
        {Label10, txtsamajikano}, {Label9, txtjop}, {Label12, txtadayama}};
    for (int i = 0; i < int(std::size(left)); ++i) {
        tw::place(left[i].first, 200, row(i), kCaptionWidth, kRowHeight);
        tw::place(left[i].second, leftBox, row(i), boxWidth, kRowHeight);
    }
    for (int i = 0; i < int(std::size(right)); ++i) {
        tw::place(right[i].first, rightCaption, row(i), kCaptionWidth, kRowHeight);
        tw::place(right[i].second, rightBox, row(i), boxWidth, kRowHeight);
    }
    // The number and status only ever hold a few characters.
    tw::setWidth(labno, std::min(boxWidth, 2000));
    tw::setWidth(labsakiya, std::min(boxWidth, 2000));
    tw::place(cmdnew, rightBox, row(7) - 95, std::min(boxWidth, 2600), kButtonHeight);

    // The buttons stand right-aligned on one row at the bottom, cmdexit outermost.
    const int buttonTop = height - 200 - kButtonHeight;
    int rightEdge = width - 200;
    for (QPushButton *b : {cmdexit, cmdok, cmdupdata, cmddelete}) {
        tw::place(b, rightEdge - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
        rightEdge -= kButtonWidth + 200;
    }
    const int listTop = row(8);
    tw::place(lvdetels, 200, listTop, width - 400, std::max(600, buttonTop - 200 - listTop));
}

void frmlandoner::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The frame is known now: lay the screen out again inside it when it differs from what was assumed.
    const QRect before = geometry();
    layoutScreen();
    if (geometry() != before)
        lvdetels->setColumnWidth(2, twips(std::max(2600, tw::width(lvdetels) - 11800 - 300)));
}

void frmlandoner::Form_Load()
{
    layoutScreen();
    const int listWidth = tw::width(lvdetels);
    // The name takes what the other columns leave, so the whole household fits at office screen sizes.
    lvdetels->setColumns({{QStringLiteral("cd ye wxlh"), 1600}, {QStringLiteral(".Dy uq,sl wxlh"), 2400},
        {QStringLiteral("bvï ysñhkaf.a ku"), std::max(2600, listWidth - 11800 - 300)},
        {QStringLiteral("n,m;% wxlh"), 3000}, {QStringLiteral("bvfñ iajNdjh"), 2400},
        {QStringLiteral("bvu neyer lsßu"), 2400}});
    guarded(this, [this] {
        fillDivisions();
        const int level = permissionLevel(session::userSrno(), Flag::LandOwners);
        if (level == ViewOnly) {
            txtid->setEnabled(false);
            txtguhano->setEnabled(false);
            labcu->setText(QStringLiteral("1"));
        } else if (level == EntryOnlyOrAll) {
            labcu->setText(QStringLiteral("2"));
        }
        // From here on the gate decides, for the whole time the screen is open.
        for (QPushButton *writing : {cmdok, cmdupdata, cmddelete})
            allowWriting(writing, writing->isEnabled());
        lastno();
    });
}

void frmlandoner::fillDivisions()
{
    // One entry per division, as its first row names it. Filling chooses nothing: no village list yet.
    const QSignalBlocker quiet(cmbgamiya);
    cmbgamiya->clear();
    Query rows = db().select(QStringLiteral("SELECT DISTINCT srno, gama_wasama FROM gamasewa_wasama ORDER BY srno"));
    QString last;
    while (rows.next()) {
        const QString srno = rows.value(0);
        if (srno == last)
            continue;
        last = srno;
        cmbgamiya->addItem(numberedEntry(srno, rows.value(1)));
    }
    cmbgamiya->setCurrentIndex(-1);
}

void frmlandoner::cmbgamiya_Click()
{
    guarded(this, [this] {
        cmbgama->clear();
        // The division number is what stands before " - ": a first-two-characters cut would offer
        // division 10's villages for division 100.
        const QString number = entryNumber(cmbgamiya->currentText());
        if (!number.isEmpty()) {
            for (const NumberedName &village : villagesOf(number))
                cmbgama->addItem(numberedEntry(village.number, village.name));
        }
        cmbgama->setCurrentIndex(-1);
    });
}

void frmlandoner::txtid_KeyUp(int key)
{
    txtguhano->setEnabled(true);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!txtid->text().isEmpty())
            txtguhano->setFocus(Qt::TabFocusReason);
        else
            cmdexit->setFocus(Qt::TabFocusReason);
        return;
    }
    if (txtid->text().isEmpty()) {
        for (QLineEdit *box :
            {txtlandname, txtguhano, txtad1, txtad2, txtad3, txtad4, txtsamajikano, txtjop, txtadayama})
            box->clear();
    }
}

void frmlandoner::txtid_Change()
{
    markNormal(txtid);
    labcha->clear();
}

void frmlandoner::txtguhano_Change()
{
    markNormal(txtguhano);
    if (!labcu->text().isEmpty())
        allowWriting(cmdok, true);
    if (txtid->text().isEmpty())
        clearEntry(false);
}

void frmlandoner::txtlandname_Change() { markNormal(txtlandname); }

void frmlandoner::txtlandname_LostFocus()
{
    if (txtlandname->text().isEmpty())
        markRed(txtlandname);
}

void frmlandoner::cmdexit_Click() { close(); }

void frmlandoner::allowWriting(QPushButton *button, bool on)
{
    const QString mode = labcu->text();
    if (mode == QLatin1String("1") || (mode == QLatin1String("2") && button != cmdok))
        on = false;
    button->setEnabled(on);
}

void frmlandoner::clearEntry(bool withHousehold)
{
    if (withHousehold)
        txtguhano->clear();
    for (QLineEdit *box : {txtlandname, txtad1, txtad2, txtad3, txtad4, txtsamajikano, txtjop, txtadayama})
        box->clear();
}

void frmlandoner::clearAll()
{
    m_loaded.reset();
    txtid->clear();
    clearEntry(true);
}

} // namespace parcelon
