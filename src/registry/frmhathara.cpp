#include "registry/frmhathara.h"

#include "base/dbsession.h"
#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messages.h"
#include "ui/record.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
const QString kNewRow = QStringLiteral("we;=,a lsÍu");
const QString kStoredRow = QStringLiteral("fjkia lsrsu");
// What labsathara reads while boundaries are recorded for the land.
const QString kRecorded = QStringLiteral("igyka lr we;");
// A boundary is described in at most this many characters.
constexpr int kBoundaryLength = 250;

constexpr int kWidth = 7800;
constexpr int kHeight = 4740;
} // namespace

frmhathara::frmhathara(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    build();
    Form_Load();
}

void frmhathara::build()
{
    setObjectName(QStringLiteral("frmhathara"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(kWidth), twips(kHeight));

    labname = captionLabel(this, "labname", QStringLiteral("y;r udhsu"), {0, 0, kWidth, 600});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);

    Label5 = captionLabel(this, "Label5", QStringLiteral("bvñ wkq wxlh"), {240, 840, 2040, 375});
    lablandsrno = valueLabel(this, "lablandsrno", {2400, 840, 1500, 375});
    Label4 = captionLabel(this, "Label4", QStringLiteral("bvñ wxlh"), {240, 1335, 2040, 375});
    lablandno1 = valueLabel(this, "lablandno1", {2400, 1335, 3000, 375});
    lablandno = valueLabel(this, "lablandno", {5520, 1335, 2040, 375});

    // The four sides, one row each: caption, then the box.
    labuthura = captionLabel(this, "labuthura", QStringLiteral("W;=r      (-"), {240, 1950, 2040, 375});
    txtuthura = textBox(this, "txtuthura", {2400, 1950, 5160, 375}, kBoundaryLength);
    Label3 = captionLabel(this, "Label3", QStringLiteral("ol=K     (-"), {240, 2445, 2040, 375});
    txtdakuna = textBox(this, "txtdakuna", {2400, 2445, 5160, 375}, kBoundaryLength);
    Label2 = captionLabel(this, "Label2", QStringLiteral("ngysr    (-"), {240, 2940, 2040, 375});
    txtbatahira = textBox(this, "txtbatahira", {2400, 2940, 5160, 375}, kBoundaryLength);
    Label1 = captionLabel(this, "Label1", QStringLiteral("kef.kysr (-"), {240, 3435, 2040, 375});
    txtnaganahira = textBox(this, "txtnaganahira", {2400, 3435, 5160, 375}, kBoundaryLength);

    cmddelect = button(this, "cmddelect", QStringLiteral("bj;a lsÍu"), {240, 4080, 1700, 420});
    cmdok = button(this, "cmdok", kNewRow, {4020, 4080, 1700, 420});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {5860, 4080, 1700, 420});

    setTabOrder(txtuthura, txtdakuna);
    setTabOrder(txtdakuna, txtbatahira);
    setTabOrder(txtbatahira, txtnaganahira);
    setTabOrder(txtnaganahira, cmdok);
    setTabOrder(cmdok, cmdexit);
    setTabOrder(cmdexit, cmddelect);

    connect(cmdok, &QPushButton::clicked, this, &frmhathara::cmdok_Click);
    connect(cmddelect, &QPushButton::clicked, this, &frmhathara::cmddelect_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmhathara::cmdexit_Click);
    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"Label5", "lablandsrno"}, {"Label4", "lablandno"}, {"labuthura", "txtuthura"}, {"Label3", "txtdakuna"},
            {"Label2", "txtbatahira"}, {"Label1", "txtnaganahira"}});
}

void frmhathara::Form_Load() { center_form(this); }

void frmhathara::showStored(const Query &row)
{
    const RecordColumns boundaries(QStringLiteral("hathara_maym"),
        {{"landsrno", lablandsrno}, {"landno1", lablandno1}, {"landno", lablandno}, {"dakuna", txtdakuna},
            {"uthuru", txtuthura}, {"batahira", txtbatahira}, {"naganahira", txtnaganahira}});
    boundaries.fill(row);
    cmdok->setText(kStoredRow);
}

void frmhathara::holdFor(BoundaryTexts *pending)
{
    m_pending = pending;
    if (!pending->held)
        return;
    txtdakuna->setText(pending->dakuna);
    txtuthura->setText(pending->uthuru);
    txtbatahira->setText(pending->batahira);
    txtnaganahira->setText(pending->naganahira);
    cmdok->setText(kStoredRow);
}

void frmhathara::clearBoxes()
{
    for (QLineEdit *box : {txtdakuna, txtuthura, txtbatahira, txtnaganahira})
        box->clear();
}

void frmhathara::cmdok_Click()
{
    guarded(this, [this] {
        bool described = false;
        for (const QLineEdit *box : {txtdakuna, txtuthura, txtbatahira, txtnaganahira})
            described = described || !box->text().trimmed().isEmpty();
        if (!described) {
            message(this, QStringLiteral("lsisu fldgqjla ysia úh fkdyel"));
            return;
        }
        // The texts are stored as typed; the trimming only tells an empty box.
        if (m_pending) {
            *m_pending = {txtdakuna->text(), txtuthura->text(), txtbatahira->text(), txtnaganahira->text(), true};
        } else if (cmdok->text() == kStoredRow) {
            db().execute(QStringLiteral("UPDATE hathara_maym SET dakuna = ?, uthuru = ?, batahira = ?, naganahira = ? "
                                        "WHERE landsrno = ?"),
                {txtdakuna->text(), txtuthura->text(), txtbatahira->text(), txtnaganahira->text(),
                    lablandsrno->text()});
        } else {
            db().execute(
                QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                               "naganahira) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                {lablandsrno->text(), lablandno1->text(), lablandno->text(), txtdakuna->text(), txtuthura->text(),
                    txtbatahira->text(), txtnaganahira->text()});
        }
        clearBoxes();
        HandBack(m_opener).set("labsathara", kRecorded);
        leave();
    });
}

void frmhathara::cmddelect_Click()
{
    guarded(this, [this] {
        // Only this land's rows go, whatever other land shares its permit number.
        if (m_pending)
            *m_pending = {};
        else
            db().execute(QStringLiteral("DELETE FROM hathara_maym WHERE landsrno = ?"), {lablandsrno->text()});
        clearBoxes();
        HandBack(m_opener).set("labsathara", QString());
        leave();
    });
}

void frmhathara::cmdexit_Click()
{
    guarded(this, [this] { leave(); });
}

void frmhathara::leave()
{
    m_left = true;
    HandBack(m_opener).press("cmdcha");
    close();
}

void frmhathara::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous() && !m_left)
        cmdexit_Click();
    QDialog::closeEvent(event);
}

} // namespace parcelon
