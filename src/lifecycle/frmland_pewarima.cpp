// The transfer and division screen: its controls, layout, load, the reason list, the two modes, opening
// the land search and restoring the screen after it.

#include "lifecycle/frmland_pewarima.h"

#include "base/dbsession.h"
#include "base/home.h"
#include "base/landvalues.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/events.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/rowlayout.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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
constexpr int kRowStep = 500; // one row of a frame to the next
constexpr int kFrameFirstRow = 450; // below the frame's title

// The chosen mode's option is cyan, the other light yellow.

const QString kDefaultReason = QStringLiteral("rchg mejÍu");

QGroupBox *frame(QWidget *parent, const char *name, const QString &title)
{
    auto *box = named(parent, name, new QGroupBox(title));
    box->setFont(parasFont(12));
    return box;
}

QRadioButton *option(QWidget *form, const char *name, const QString &caption)
{
    auto *b = named(form, name, new QRadioButton(caption));
    b->setFont(parasFont(12));
    return b;
}

// A box the screen fills and the clerk does not type into.
QLineEdit *shownBox(QWidget *form, const char *name)
{
    QLineEdit *box = textBox(form, name);
    box->setEnabled(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    box->setPalette(palette);
    return box;
}
} // namespace

frmland_pewarima::frmland_pewarima(QWidget *opener)
    : QDialog(opener)
{
    build();
    wire();
    Form_Load();
}

void frmland_pewarima::build()
{
    setObjectName(QStringLiteral("frmland_pewarima"));
    // The title bar is drawn in the system font, where legacy text reads as Latin letters.
    setWindowTitle(applicationTitle());
    setFont(parasFont(12));

    labname = captionLabel(this, "labname", QStringLiteral("bvï neyer lsÍu yd mejeßu"));
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    optland_behera = option(this, "optland_behera", QStringLiteral("bvï neyer lsÍu"));
    optland_pewarima = option(this, "optland_pewarima", QStringLiteral("bvï mejßu"));
    lablandno1 = captionLabel(this, "lablandno1", QStringLiteral("bvï neyer lsÍu yd mejßu wxlh"));
    lablandno = valueLabel(this, "lablandno");
    lablandno->setFont(latinFont(11, true));

    buildFirstLand();
    buildSecondLand();

    cmdok = button(this, "cmdok", QStringLiteral("we;=,a lsÍu"));
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"));
    // Pressed by the land search when it closes; nobody clicks it.
    cmdtra = button(this, "cmdtra", QString());
    cmdtra->hide();

    labsrno = hiddenLabel(this, "labsrno");
    tt1 = hiddenLabel(this, "tt1");
    tt2 = hiddenLabel(this, "tt2");
    tt3 = hiddenLabel(this, "tt3");
    txtakkara_only_old = textBox(this, "txtakkara_only_old");
    txtakkara_only_old->hide();
    labcha = hiddenLabel(this, "labcha");

    QWidget *order[] = {optland_behera, optland_pewarima, cmblandno_h, txtlandno_h, cmdfind_h, txtakkara_h, txtrud_h,
        txtparchase_h, txtakkara_only_h, cmbrajaya, cmdenter, cmblandno, txtlandno, cmdfind, cmdok, cmdexit};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"lablandno1", "lablandno"}, {"lablandno_h", "txtlandno_h"}, {"labid1_h", "labid_h"},
            {"labguha1_h", "labguha_h"}, {"Label7", "lablandname_h"}, {"labland_pramanaya", "txtakkara_h"},
            {"labrud", "txtrud_h"}, {"labparchase", "txtparchase_h"}, {"Label2", "txtakkara_only_h"},
            {"Label9", "txtlandno"}, {"Label13", "labid"}, {"Label11", "labguha"}, {"Label15", "lablandname"},
            {"Label19", "txtakkara"}, {"Label17", "txtrud"}, {"Label16", "txtparchase"}, {"Label3", "txtakkara_only"}});
}

void frmland_pewarima::buildFirstLand()
{
    fra1 = frame(this, "fra1", QStringLiteral("m<uq whs;s lre"));
    lablandno_h = captionLabel(fra1, "lablandno_h", QStringLiteral(" bvfï n,m;% wxlh"));
    cmblandno_h = dropDown(fra1, "cmblandno_h");
    txtlandno_h = textBox(fra1, "txtlandno_h");
    cmdfind_h = button(fra1, "cmdfind_h", QStringLiteral("f;drd"));
    labid1_h = captionLabel(fra1, "labid1_h", QStringLiteral(" yeÿkqïm;a wxlh"));
    labid_h = valueLabel(fra1, "labid_h");
    labguha1_h = captionLabel(fra1, "labguha1_h", QStringLiteral(" .Dy uq,sl wxlh"));
    labguha_h = valueLabel(fra1, "labguha_h");
    Label7 = captionLabel(fra1, "Label7", QStringLiteral(" bvï ysñf.a ku"));
    lablandname_h = valueLabel(fra1, "lablandname_h");
    labland_pramanaya = captionLabel(fra1, "labland_pramanaya", QStringLiteral(" bvfñ m%udKh"));
    labakkara_h = valueLabel(fra1, "labakkara_h");
    txtakkara_h = textBox(fra1, "txtakkara_h");
    labrud = captionLabel(fra1, "labrud", QStringLiteral(" reâ"));
    txtrud_h = textBox(fra1, "txtrud_h");
    labparchase = captionLabel(fra1, "labparchase", QStringLiteral(" m¾pia"));
    txtparchase_h = textBox(fra1, "txtparchase_h");
    Label2 = captionLabel(fra1, "Label2", QStringLiteral(" bvfñ m%udKh wlalr j,ska"));
    txtakkara_only_h = textBox(fra1, "txtakkara_only_h");
    for (QLineEdit *box : {txtakkara_h, txtrud_h, txtparchase_h, txtakkara_only_h})
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLineEdit *box : {txtakkara_h, txtrud_h, txtparchase_h})
        extentBox(box);
    // The identity and household numbers read in the heavy Latin face.
    labid_h->setFont(heavyLatinFont(11));
    labguha_h->setFont(heavyLatinFont(11));

    fra3 = frame(fra1, "fra3", QStringLiteral("bvï neyer lsÍug fya;=j"));
    cmbrajaya = dropDown(fra3, "cmbrajaya");
    cmbrajaya->setEditable(true);
    cmbrajaya->lineEdit()->setMaxLength(kTextColumnLength);
    cmdenter = button(fra3, "cmdenter", QStringLiteral("we;=,a lsßu"));
}

void frmland_pewarima::buildSecondLand()
{
    fra2 = frame(this, "fra2", QStringLiteral("fojk whs;s lre"));
    labnote = captionLabel(fra2, "labnote", QStringLiteral("bvu mejÍu ioyd muKs"));
    Label9 = captionLabel(fra2, "Label9", QStringLiteral(" bvfï n,m;% wxlh"));
    cmblandno = dropDown(fra2, "cmblandno");
    txtlandno = textBox(fra2, "txtlandno");
    cmdfind = button(fra2, "cmdfind", QStringLiteral("f;drd"));
    Label13 = captionLabel(fra2, "Label13", QStringLiteral(" yeÿkqïm;a wxlh"));
    labid = valueLabel(fra2, "labid");
    Label11 = captionLabel(fra2, "Label11", QStringLiteral(" .Dy uq,sl wxlh"));
    labguha = valueLabel(fra2, "labguha");
    Label15 = captionLabel(fra2, "Label15", QStringLiteral(" bvï ysñf.a ku"));
    lablandname = valueLabel(fra2, "lablandname");
    Label19 = captionLabel(fra2, "Label19", QStringLiteral(" bvfñ m%udKh"));
    labakkara = valueLabel(fra2, "labakkara");
    txtakkara = shownBox(fra2, "txtakkara");
    Label17 = captionLabel(fra2, "Label17", QStringLiteral(" reâ"));
    txtrud = shownBox(fra2, "txtrud");
    Label16 = captionLabel(fra2, "Label16", QStringLiteral(" m¾pia"));
    txtparchase = shownBox(fra2, "txtparchase");
    Label3 = captionLabel(fra2, "Label3", QStringLiteral(" bvfñ m%udKh wlalr j,ska"));
    txtakkara_only = valueLabel(fra2, "txtakkara_only");
    for (QLineEdit *box : {txtakkara, txtrud, txtparchase})
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtakkara_only->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labid->setFont(heavyLatinFont(11));
    labguha->setFont(heavyLatinFont(11));
}

void frmland_pewarima::wire()
{
    connect(optland_behera, &QRadioButton::clicked, this, &frmland_pewarima::optland_behera_Click);
    connect(optland_pewarima, &QRadioButton::clicked, this, &frmland_pewarima::optland_pewarima_Click);

    connect(txtlandno_h, &QLineEdit::textChanged, this, &frmland_pewarima::txtlandno_h_Change);
    Events::of(txtlandno_h).enter([this] { txtlandno_h_Enter(); }).lostFocus([this] { txtlandno_h_LostFocus(); });
    for (QLineEdit *box : {txtakkara_h, txtrud_h, txtparchase_h})
        connect(box, &QLineEdit::textChanged, this, &frmland_pewarima::akkara_sawima);
    connect(cmdfind_h, &QPushButton::clicked, this, &frmland_pewarima::cmdfind_h_Click);

    connect(txtlandno, &QLineEdit::textChanged, this, &frmland_pewarima::txtlandno_Change);
    Events::of(txtlandno).enter([this] { txtlandno_Enter(); }).lostFocus([this] { txtlandno_LostFocus(); });
    connect(cmdfind, &QPushButton::clicked, this, &frmland_pewarima::cmdfind_Click);

    connect(cmdenter, &QPushButton::clicked, this, &frmland_pewarima::cmdenter_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmland_pewarima::cmdok_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmland_pewarima::cmdexit_Click);
    connect(cmdtra, &QPushButton::clicked, this, &frmland_pewarima::cmdtra_Click);
}

void frmland_pewarima::layoutScreen()
{
    const int width = toTwips(this->width());
    const int height = toTwips(this->height());
    const int inner = width - 400;
    tw::place(labname, 200, 200, inner, 600);

    const int optionsTop = tw::bottom(labname) + 200;
    Row options(200, optionsTop);
    options.box(optland_behera, fit(optland_behera)).box(optland_pewarima, fit(optland_pewarima), 600);
    options.caption(lablandno1).box(lablandno, 1200);

    const int exitWidth = fit(cmdexit, 1600);
    const int okWidth = fit(cmdok, 1600);
    const int buttonTop = height - 200 - kButtonHeight;
    tw::place(cmdexit, width - 200 - exitWidth, buttonTop, exitWidth, kButtonHeight);
    tw::place(cmdok, tw::left(cmdexit) - 200 - okWidth, buttonTop, okWidth, kButtonHeight);

    // The two frames share the space between the options and the buttons.
    const int optionsBottom = optionsTop + kRow;
    const int frameHeight = std::max(3100, (buttonTop - optionsBottom) / 2 - 600);
    tw::place(fra1, 200, optionsBottom + 200, inner, frameHeight);
    tw::place(fra2, 200, tw::bottom(fra1) + 200, inner, frameHeight);
    layoutFirstLand();
    layoutSecondLand();
}

void frmland_pewarima::layoutFirstLand()
{
    const int width = tw::width(fra1);
    int top = kFrameFirstRow;
    Row(200, top)
        .caption(lablandno_h)
        .box(cmblandno_h, fitCombo(cmblandno_h, permitKinds()), 50)
        .box(txtlandno_h, 2000)
        .button(cmdfind_h, 1000);
    top += kRowStep;
    const int idRight
        = Row(200, top).caption(labid1_h).box(labid_h, 2200).caption(labguha1_h).box(labguha_h, 2200).right();
    top += kRowStep;
    Row name(200, top);
    name.caption(Label7);
    name.box(lablandname_h, std::max(3000, idRight - name.right() - rows::kGapBox));
    top += kRowStep;
    const int extentRight
        = Row(200, top)
              .caption(labland_pramanaya)
              .box(labakkara_h,
                  std::max(
                      1000, toTwips(labakkara_h->fontMetrics().horizontalAdvance(QStringLiteral("fylaghd¾"))) + 200),
                  50)
              .box(txtakkara_h, 1000)
              .caption(labrud)
              .box(txtrud_h, 800)
              .caption(labparchase)
              .box(txtparchase_h, 800)
              .right();
    top += kRowStep;
    Row(200, top).caption(Label2).box(txtakkara_only_h, 1500);

    // The reason frame on the right of the owner and extent rows.
    const int left = std::max({idRight, tw::right(lablandname_h), extentRight}) + 400;
    const int reasonWidth = std::max(3000, width - 200 - left);
    tw::place(fra3, left, kFrameFirstRow + kRowStep, reasonWidth, 3 * kRowStep + kRow);
    tw::place(cmbrajaya, 200, kFrameFirstRow, reasonWidth - 400, kRow);
    const int enterWidth = fit(cmdenter, 1600);
    tw::place(cmdenter, reasonWidth - 200 - enterWidth, kFrameFirstRow + kRowStep, enterWidth, kButtonHeight);
}

void frmland_pewarima::layoutSecondLand()
{
    int top = kFrameFirstRow;
    Row first(200, top);
    first.caption(Label9)
        .box(cmblandno, fitCombo(cmblandno, permitKinds()), 50)
        .box(txtlandno, 2000)
        .button(cmdfind, 1000);
    tw::place(labnote, first.right() + 600, top, fit(labnote), kRow);
    top += kRowStep;
    const int idRight = Row(200, top).caption(Label13).box(labid, 2200).caption(Label11).box(labguha, 2200).right();
    top += kRowStep;
    Row name(200, top);
    name.caption(Label15);
    name.box(lablandname, std::max(3000, idRight - name.right() - rows::kGapBox));
    top += kRowStep;
    Row(200, top)
        .caption(Label19)
        .box(labakkara,
            std::max(1000, toTwips(labakkara->fontMetrics().horizontalAdvance(QStringLiteral("fylaghd¾"))) + 200), 50)
        .box(txtakkara, 1000)
        .caption(Label17)
        .box(txtrud, 800)
        .caption(Label16)
        .box(txtparchase, 800);
    top += kRowStep;
    Row(200, top).caption(Label3).box(txtakkara_only, 1500);
}

void frmland_pewarima::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window's frame is known now: the frame too stays on the screen, inside the area fill_screen
    // gives the screen.
    const QRect outer = frameGeometry();
    const QRect client = geometry();
    const QMargins frameMargins(client.left() - outer.left(), client.top() - outer.top(),
        outer.right() - client.right(), outer.bottom() - client.bottom());
    if (frameMargins.isNull())
        return;
    setGeometry(QRect(0, 0, twips(screenWidthTwips()), twips(screenHeightTwips() - 600)).marginsRemoved(frameMargins));
    layoutScreen();
}

void frmland_pewarima::Form_Load()
{
    guarded(this, [this] {
        fill_screen(this);
        layoutScreen();
        optland_pewarima->setChecked(true);
        optland_pewarima_Click();

        cmblandno_h->addItems(permitKinds());
        cmblandno->addItems(permitKinds());
        cmblandno_h->setCurrentIndex(0);
        cmblandno->setCurrentIndex(0);

        fillReasons();
        lastno();

        if (permissionLevel(session::userSrno(), Flag::Transfer) == ViewOnly) {
            for (QWidget *w : std::initializer_list<QWidget *> {txtlandno, txtlandno_h, cmdfind, cmdfind_h})
                w->setEnabled(false);
        }
        // The clerk starts with the first land.
        if (txtlandno_h->isEnabled())
            txtlandno_h->setFocus();
    });
}

void frmland_pewarima::fillReasons()
{
    // Every status text the register's lands carry, each once, in order; an empty one is no reason. The
    // usual reason is offered even when no land carries it yet. A register without lands offers nothing.
    Query rows = db().select(QStringLiteral("SELECT DISTINCT pewarima FROM land ORDER BY pewarima"));
    bool anyLand = false;
    QStringList reasons;
    while (rows.next()) {
        anyLand = true;
        const QString reason = rows.value(0);
        if (!reason.isEmpty())
            reasons << reason;
    }
    cmbrajaya->addItems(reasons);
    if (!anyLand)
        return;
    if (!reasons.contains(kDefaultReason))
        cmbrajaya->addItem(kDefaultReason);
    cmbrajaya->setCurrentText(kDefaultReason);
}

void frmland_pewarima::colourOptions()
{
    setBackground(optland_behera, optland_behera->isChecked() ? colours::chosen : colours::field);
    setBackground(optland_pewarima, optland_pewarima->isChecked() ? colours::chosen : colours::field);
}

void frmland_pewarima::optland_behera_Click()
{
    fra2->setEnabled(false);
    cmdok->setEnabled(false);
    fra3->setEnabled(true);
    colourOptions();
}

void frmland_pewarima::optland_pewarima_Click()
{
    fra2->setEnabled(true);
    cmdok->setEnabled(true);
    fra3->setEnabled(false);
    colourOptions();
}

void frmland_pewarima::openSearch(const QString &callerCode)
{
    bool shown = false;
    const bool opened = guarded(this, [this, &callerCode, &shown] {
        dim_home();
        set_alpha(this, sharedAlpha());
        shown = Screens::open(ScreenId::frmland_search, this,
            [callerCode](QDialog *search) { HandBack(search).set("labch", callerCode); });
    });
    // The search restores this screen (cmdtra) however it closes; without a search nothing else would.
    if (!opened || !shown)
        cmdtra_Click();
}

void frmland_pewarima::cmdfind_h_Click() { openSearch(QStringLiteral("2")); }

void frmland_pewarima::cmdfind_Click() { openSearch(QStringLiteral("3")); }

void frmland_pewarima::cmdtra_Click()
{
    undim_home();
    set_alpha(this, sharedAlpha());
}

void frmland_pewarima::cmdexit_Click() { close(); }

} // namespace parcelon
