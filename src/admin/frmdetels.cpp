#include "admin/frmdetels.h"

#include "base/clock.h"
#include "base/dbsession.h"
#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messagebox.h"
#include "ui/messages.h"
#include "ui/record.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace parcelon {
namespace {
constexpr int kLabelLeft = 600;
constexpr int kLabelWidth = 2400;
constexpr int kBoxLeft = 3120;
constexpr int kBoxWidth = 6600;
constexpr int kRowTop = 1200;
constexpr int kRowStep = 480;
constexpr int kRowHeight = 375;

Twips labelAt(int row) { return {kLabelLeft, kRowTop + row * kRowStep, kLabelWidth, kRowHeight}; }
Twips boxAt(int row) { return {kBoxLeft, kRowTop + row * kRowStep, kBoxWidth, kRowHeight}; }
} // namespace

FRMDETELS::FRMDETELS(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

void FRMDETELS::build()
{
    setObjectName(QStringLiteral("FRMDETELS"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));

    Label2 = captionLabel(this, "Label2", QStringLiteral("COMPANY DETAILS"), {kLabelLeft, 360, 9120, 540});
    Label11 = captionLabel(this, "Label11", QStringLiteral("Code No"), labelAt(0));
    CODENO = textBox(this, "CODENO", boxAt(0));
    Label1 = captionLabel(this, "Label1", QStringLiteral("Name"), labelAt(1));
    txtNAME = textBox(this, "txtNAME", boxAt(1));
    Label3 = captionLabel(this, "Label3", QStringLiteral("Address 1"), labelAt(2));
    AD1 = textBox(this, "AD1", boxAt(2));
    Label4 = captionLabel(this, "Label4", QStringLiteral("Address 2"), labelAt(3));
    AD2 = textBox(this, "AD2", boxAt(3));
    Label5 = captionLabel(this, "Label5", QStringLiteral("Address 3"), labelAt(4));
    AD3 = textBox(this, "AD3", boxAt(4));
    Label6 = captionLabel(this, "Label6", QStringLiteral("Address 4"), labelAt(5));
    AD4 = textBox(this, "AD4", boxAt(5));
    Label7 = captionLabel(this, "Label7", QStringLiteral("Telephon No"), labelAt(6));
    TENO = textBox(this, "TENO", boxAt(6));
    Label8 = captionLabel(this, "Label8", QStringLiteral("Fax No"), labelAt(7));
    FAXNO = textBox(this, "FAXNO", boxAt(7));
    Label9 = captionLabel(this, "Label9", QStringLiteral("E-Mail Address"), labelAt(8));
    EMAIL = textBox(this, "EMAIL", boxAt(8));
    Label10 = captionLabel(this, "Label10", QStringLiteral("Web Address"), labelAt(9));
    WEB = textBox(this, "WEB", boxAt(9));
    labcode2 = hiddenLabel(this, "labcode2");
    const int buttonTop = kRowTop + 10 * kRowStep + 240;
    OK = button(this, "OK", QStringLiteral("OK"), {kBoxLeft, buttonTop, 1800, 435});
    END = button(this, "END", QStringLiteral("CLOSE"), {kBoxLeft + 1920, buttonTop, 1800, 435});

    // The captions are English; the values are legacy text in PARAS-N (the boxes keep the screen's font).
    Label2->setFont(latinFont(16, true));
    for (QLabel *label : {Label11, Label1, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10})
        label->setFont(latinFont(10, true));
    for (QPushButton *b : {OK, END})
        b->setFont(latinFont(10, true));
    setBackground(this, colours::work);

    QWidget *previous = nullptr;
    for (QWidget *w :
        std::initializer_list<QWidget *> {CODENO, txtNAME, AD1, AD2, AD3, AD4, TENO, FAXNO, EMAIL, WEB, OK, END}) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }

    connect(OK, &QPushButton::clicked, this, &FRMDETELS::OK_Click);
    connect(END, &QPushButton::clicked, this, &FRMDETELS::END_Click);
    applyKeyPolicy(this, END);
    applyAccessibility(this,
        {{"Label11", "CODENO"}, {"Label1", "txtNAME"}, {"Label3", "AD1"}, {"Label4", "AD2"}, {"Label5", "AD3"},
            {"Label6", "AD4"}, {"Label7", "TENO"}, {"Label8", "FAXNO"}, {"Label9", "EMAIL"}, {"Label10", "WEB"}});
}

void FRMDETELS::Form_Load()
{
    db().connect_db(); // opened by the login already; a second call changes nothing
    Form_Resize();
    // An empty table, or any failure to read it, leaves the boxes empty and labcode2 empty.
    try {
        m_loaded = LoadedRow::ofTable(QStringLiteral("detels"), QStringLiteral("srno"),
            {QStringLiteral("srno"), QStringLiteral("codeno"), QStringLiteral("name"), QStringLiteral("ad1"),
                QStringLiteral("ad2"), QStringLiteral("ad3"), QStringLiteral("ad4"), QStringLiteral("teno"),
                QStringLiteral("faxno"), QStringLiteral("emailno"), QStringLiteral("web"), QStringLiteral("date")});
        const std::optional<Query> row = db().first(QStringLiteral(
            "SELECT codeno, name, ad1, ad2, ad3, ad4, teno, faxno, emailno, web FROM detels ORDER BY srno"));
        if (!row)
            return;
        const RecordColumns office(QStringLiteral("detels"),
            {{"codeno", CODENO}, {"name", txtNAME}, {"ad1", AD1}, {"ad2", AD2}, {"ad3", AD3}, {"ad4", AD4},
                {"teno", TENO}, {"emailno", EMAIL}, {"faxno", FAXNO}, {"web", WEB}});
        office.fill(*row);
        labcode2->setText(row->value(QStringLiteral("codeno")));
    } catch (const DbError &) {
    }
}

void FRMDETELS::Form_Resize() { cover_main_menu(this); }

void FRMDETELS::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window's frame is known once it shows: lay the screen over the menu again inside it.
    Form_Resize();
}

void FRMDETELS::OK_Click()
{
    guarded(this, [this] {
        const RecordColumns office(QStringLiteral("detels"),
            {{"codeno", CODENO}, {"name", txtNAME}, {"ad1", AD1}, {"ad2", AD2}, {"ad3", AD3}, {"ad4", AD4},
                {"teno", TENO}, {"faxno", FAXNO}, {"emailno", EMAIL}, {"web", WEB}});
        // The office keeps one row: the old one goes and the new one comes in one change, so a failed
        // insert leaves the old details in place. Details another workstation saved since this screen
        // loaded are shown, not replaced.
        const bool stored = m_loaded.storeIfUnchanged([&] {
            db().execute(QStringLiteral("DELETE FROM detels"));
            db().execute(office.insertSql({QStringLiteral("date")}), office.values() + QVariantList {Clock::dbDate()});
        });
        if (!stored) {
            messageBox(this, QStringLiteral("Message"), kChangedElsewhereLatin);
            for (QLineEdit *box : {CODENO, txtNAME, AD1, AD2, AD3, AD4, TENO, FAXNO, EMAIL, WEB})
                box->clear();
            labcode2->clear();
            Form_Load();
            return;
        }
        for (QLineEdit *box : {CODENO, txtNAME, AD1, AD2, AD3, AD4, TENO, FAXNO, EMAIL, WEB})
            box->clear();
        close();
    });
}

void FRMDETELS::END_Click() { close(); }

} // namespace parcelon
