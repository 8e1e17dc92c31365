#include "ui/messages.h"

#include "ui/accessibility.h"
#include "ui/failure.h"
#include "ui/handback.h"
#include "ui/legacyfont.h"
#include "ui/screen.h"

#include <QLabel>
#include <QPushButton>

namespace parcelon {
namespace {
QLabel *messageLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    // Three lines of PARAS-N 14 pt: the longest notices wrap to three.
    label->setGeometry(twips(240), twips(200), twips(5520), twips(1500));
    return label;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int left)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(twips(left), twips(1860), twips(1215), twips(495));
    b->setAutoDefault(false);
    return b;
}
} // namespace

frmmessage::frmmessage(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmmessage"));
    setWindowTitle(QStringLiteral(" "));
    setFont(parasFont(14));
    setFixedSize(twips(6000), twips(2560));
    labmessage = messageLabel(this, "labmessage");
    cmdexit = button(this, "cmdexit", QStringLiteral("msgjsu"), 2392);
    cmdexit->setDefault(true);
    connect(cmdexit, &QPushButton::clicked, this, &QDialog::accept);
    applyAccessibility(this);
    Form_Load();
}

void frmmessage::Form_Load() { center_form(this); }

void message(QWidget *parent, const QString &text)
{
    frmmessage dialog(parent);
    dialog.labmessage->setText(text);
    dialog.exec();
}

frmmessage_y::frmmessage_y(QWidget *caller)
    : QDialog(caller)
    , m_caller(caller)
{
    setObjectName(QStringLiteral("frmmessage_y"));
    setWindowTitle(QStringLiteral("Message"));
    setFont(parasFont(14));
    setFixedSize(twips(6000), twips(2560));
    labmessage_y = messageLabel(this, "labmessage_y");
    labcc = new QLabel(this);
    labcc->setObjectName(QStringLiteral("labcc"));
    labcc->hide();
    cmdyes = button(this, "cmdyes", QStringLiteral("Tõ"), 1560);
    cmdexit = button(this, "cmdexit", QStringLiteral("ke;"), 3225);
    cmdexit->setDefault(true);
    connect(cmdyes, &QPushButton::clicked, this, &frmmessage_y::cmdyes_Click);
    connect(cmdexit, &QPushButton::clicked, this, &QDialog::reject);
    applyAccessibility(this);
    Form_Load();
}

void frmmessage_y::Form_Load() { center_form(this); }

void frmmessage_y::cmdyes_Click()
{
    // "1": the transfer screen proceeds once the dialog has closed. "2" and "3": the bulk deletion starts
    // its worker for all lands or all owners right after the dialog has closed. The caller's labels and
    // workers are handed back to loudly: a caller without them is a fault of the program.
    guarded(this, [this] {
        const QString code = labcc->text();
        const char *label = nullptr;
        const char *worker = nullptr;
        if (code == QLatin1String("1")) {
            label = "labcha";
        } else if (code == QLatin1String("2")) {
            label = "labch";
            worker = "cmdl";
        } else if (code == QLatin1String("3")) {
            label = "labch";
            worker = "cmdff";
        }
        if (label)
            HandBack(m_caller).set(label, QStringLiteral("1"));
        accept();
        if (worker)
            HandBack(m_caller).press(worker);
    });
}

} // namespace parcelon
