#include "admin/frmpramission.h"

#include "base/dbsession.h"
#include "base/home.h"
#include "base/permissions.h"
#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"
#include "ui/messagebox.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>

#include <tuple>

namespace parcelon {
namespace {
const QString kNone = QStringLiteral("1 - wjir ke;");
const QString kViewOnly = QStringLiteral("2 - ne,su muKhs");

// The levels of the two register screens (owners, lands) and of all the others.
const QStringList &registerLevels()
{
    static const QStringList levels {
        kNone, kViewOnly, QStringLiteral("3 - we;=,a lsrsu muKs"), QStringLiteral("4 - ish¨ wjir")};
    return levels;
}
const QStringList &otherLevels()
{
    static const QStringList levels {kNone, kViewOnly, QStringLiteral("3 - ish¨ wjir")};
    return levels;
}

constexpr int kRowTop = 1560;
constexpr int kRowStep = 420;
constexpr int kRowHeight = 375;
constexpr int kLabelLeft = 240;
constexpr int kLabelWidth = 4920;
constexpr int kListLeft = 5280;
constexpr int kListWidth = 3360;

Twips labelAt(int row) { return {kLabelLeft, kRowTop + row * kRowStep, kLabelWidth, kRowHeight}; }
Twips listAt(int row) { return {kListLeft, kRowTop + row * kRowStep, kListWidth, kRowHeight}; }
} // namespace

const std::array<QString, 11> &frmpramission::menuCaptions()
{
    static const std::array<QString, 11> captions {
        QStringLiteral("bvñ ysñlre"),
        QStringLiteral("bvus"),
        QStringLiteral("bvfñ ysñ lre fjkia lsÍu"),
        QStringLiteral("bvï neyer lsÍu yd mejeÍu"),
        QStringLiteral(".%dïh jiñ yd .ï "),
        QStringLiteral("miq ysñlu ioyd bvu mejeßu"),
        QStringLiteral("bvñ ysñhkaf.a kdu f,aLKh"),
        QStringLiteral("bvï ms<sno ish¨u úia;r "),
        QStringLiteral("n,m;% fjkia lsßu j¾;dj"),
        QStringLiteral("bvu yd bvï ysñhd ms<sno jd¾:dj"),
        QStringLiteral("miq ysñlï jd¾:d"),
    };
    return captions;
}

frmpramission::frmpramission(QWidget *opener)
    : QDialog(opener)
    , m_opener(opener)
{
    build();
    Form_Load();
}

void frmpramission::build()
{
    setObjectName(QStringLiteral("frmpramission"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(12));
    setFixedSize(twips(8880), twips(7140));

    labname = captionLabel(this, "labname", QStringLiteral("wjir ,nd osu"), {0, 0, 8880, 660});
    labname->setFont(parasFont(18));
    labname->setAlignment(Qt::AlignCenter);
    titleBand(labname);
    Label3 = captionLabel(this, "Label3", QStringLiteral("m%fjsY kduh"), {kLabelLeft, 840, 1800, kRowHeight});
    labuser = valueLabel(this, "labuser", {2160, 840, 3000, kRowHeight}, colours::normal);
    labuser->setFont(latinFont(10)); // the user name, typed in Latin letters
    Label1 = captionLabel(this, "Label1", QStringLiteral("wjir"), {kListLeft, 1140, kListWidth, kRowHeight});
    labsrno = hiddenLabel(this, "labsrno");

    const char *labelNames[]
        = {"labland_owner", "labland", "labland_change", "labland_behera", "labgamiya", "labpasuhimikam",
            "lablandowner_report", "labland_report", "labbalapathra", "labland_one_report", "labpasukam_report"};
    QLabel **labels[] = {&labland_owner, &labland, &labland_change, &labland_behera, &labgamiya, &labpasuhimikam,
        &lablandowner_report, &labland_report, &labbalapathra, &labland_one_report, &labpasukam_report};
    const char *listNames[]
        = {"cmb1", "cmb2", "cmb3", "cmb4", "cmb5", "cmb6", "cmb7", "cmb8", "cmb9", "cmb10", "cmb11"};
    QComboBox **combos[] = {&cmb1, &cmb2, &cmb3, &cmb4, &cmb5, &cmb6, &cmb7, &cmb8, &cmb9, &cmb10, &cmb11};
    for (int i = 0; i < 11; ++i) {
        *labels[i] = captionLabel(this, labelNames[i], QString(), labelAt(i));
        *combos[i] = dropDown(this, listNames[i], listAt(i));
    }

    cmdenter = button(this, "cmdenter", QStringLiteral("we;=,;a lsrsu"), {kListLeft, 6360, 1920, 480});
    cmdexit = button(this, "cmdexit", QStringLiteral("msgúu"), {kListLeft + 2040, 6360, 1320, 480});

    QWidget *previous = nullptr;
    for (QComboBox *combo : lists()) {
        if (previous)
            setTabOrder(previous, combo);
        previous = combo;
    }
    setTabOrder(previous, cmdenter);
    setTabOrder(cmdenter, cmdexit);

    connect(cmdenter, &QPushButton::clicked, this, &frmpramission::cmdenter_Click);
    connect(cmdexit, &QPushButton::clicked, this, &frmpramission::cmdexit_Click);
    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"Label3", "labuser"}, {"labland_owner", "cmb1"}, {"labland", "cmb2"}, {"labland_change", "cmb3"},
            {"labland_behera", "cmb4"}, {"labgamiya", "cmb5"}, {"labpasuhimikam", "cmb6"},
            {"lablandowner_report", "cmb7"}, {"labland_report", "cmb8"}, {"labbalapathra", "cmb9"},
            {"labland_one_report", "cmb10"}, {"labpasukam_report", "cmb11"}});
}

std::array<QLabel *, 11> frmpramission::functionLabels() const
{
    return {labland_owner, labland, labland_change, labland_behera, labgamiya, labpasuhimikam, lablandowner_report,
        labland_report, labbalapathra, labland_one_report, labpasukam_report};
}

std::array<QComboBox *, 11> frmpramission::lists() const
{
    return {cmb1, cmb2, cmb3, cmb4, cmb5, cmb6, cmb7, cmb8, cmb9, cmb10, cmb11};
}

void frmpramission::Form_Load()
{
    center_form(this);
    // The account is the one the user screen shows.
    if (m_opener) {
        if (auto *number = m_opener->findChild<QLabel *>(QStringLiteral("labsrno"), Qt::FindDirectChildrenOnly))
            labsrno->setText(number->text());
    }
    const auto labels = functionLabels();
    const auto combos = lists();
    for (int i = 0; i < 11; ++i) {
        labels[size_t(i)]->setText(QStringLiteral(" ") + menuCaptions()[size_t(i)]);
        combos[size_t(i)]->addItems(i < 2 ? registerLevels() : otherLevels());
    }
    guarded(this, [this] { showPermissions(); });
}

namespace {
// The account's row in force: its srno and its eleven flags (level 1 without a row).
std::pair<QString, std::array<QString, 11>> rowInForce(const QString &account)
{
    const std::optional<Query> row = db().newest(QStringLiteral("awasara"), QStringLiteral("user_srno"), account);
    std::array<QString, 11> flags;
    for (int i = 0; i < 11; ++i)
        flags[size_t(i)] = row ? row->value(QStringLiteral("a%1").arg(i + 1)) : kNone;
    return {row ? row->value(QStringLiteral("srno")) : QString(), flags};
}

// The highest level the session may give for each flag: its own, or any for the administrator.
std::array<int, 11> sessionCeiling()
{
    std::array<int, 11> ceiling;
    const bool administrator = isAdministrator(session::userName());
    for (int i = 0; i < 11; ++i)
        ceiling[size_t(i)] = administrator ? All : permissionLevel(session::userSrno(), Flag(i + 1));
    return ceiling;
}
} // namespace

void frmpramission::showPermissions()
{
    std::tie(m_heldRow, m_held) = rowInForce(labsrno->text());
    const std::array<int, 11> ceiling = sessionCeiling();
    const bool own = !isAdministrator(session::userName()) && labsrno->text() == session::userSrno();
    const auto combos = lists();
    for (int i = 0; i < 11; ++i) {
        QComboBox *combo = combos[size_t(i)];
        const QString &value = m_held[size_t(i)];
        // A stored text that is none of the entries (written by hand or by an older list) is shown
        // as it is, so that saving without touching the list keeps it.
        if (combo->findText(value) < 0)
            combo->addItem(value);
        combo->setCurrentText(value);
        auto *items = qobject_cast<QStandardItemModel *>(combo->model());
        for (int row = 0; row < combo->count(); ++row) {
            const QString text = combo->itemText(row);
            const bool allowed = !own && (levelOf(text) <= ceiling[size_t(i)] || text == value);
            if (items)
                items->item(row)->setEnabled(allowed);
        }
    }
}

bool frmpramission::mayGrant(const std::array<QString, 11> &chosen, const std::array<QString, 11> &held) const
{
    if (isAdministrator(session::userName()))
        return true;
    if (labsrno->text() == session::userSrno())
        return false;
    const std::array<int, 11> ceiling = sessionCeiling();
    for (size_t i = 0; i < 11; ++i) {
        if (levelOf(chosen[i]) > ceiling[i] && chosen[i] != held[i])
            return false;
    }
    return true;
}

frmpramission::Saved frmpramission::store()
{
    std::array<QString, 11> chosen;
    const auto combos = lists();
    for (size_t i = 0; i < 11; ++i)
        chosen[i] = combos[i]->currentText();
    Saved saved = Saved::Yes;
    db().lockedChange([&] {
        const auto [rowNow, heldNow] = rowInForce(labsrno->text());
        if (rowNow != m_heldRow) {
            saved = Saved::ChangedElsewhere;
            return;
        }
        if (!mayGrant(chosen, heldNow)) {
            saved = Saved::Refused;
            return;
        }
        QVariantList values {labsrno->text(), labuser->text()};
        for (const QString &flag : chosen)
            values << flag;
        db().execute(QStringLiteral("INSERT INTO awasara (user_srno, username, a1, a2, a3, a4, a5, a6, a7, a8, a9, "
                                    "a10, a11) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
    });
    return saved;
}

void frmpramission::cmdenter_Click()
{
    guarded(this, [this] {
        switch (store()) {
        case Saved::Refused:
            messageBox(this, QStringLiteral("Message"), QStringLiteral("Not Permission "));
            return;
        case Saved::ChangedElsewhere:
            messageBox(this, QStringLiteral("Message"), kChangedElsewhereLatin);
            showPermissions();
            return;
        case Saved::Yes:
            break;
        }
        // One save per opening: to change the permissions again the screen is opened anew.
        for (QComboBox *combo : lists())
            combo->setEnabled(false);
        cmdenter->setEnabled(false);
    });
}

void frmpramission::cmdexit_Click() { close(); }

} // namespace parcelon
