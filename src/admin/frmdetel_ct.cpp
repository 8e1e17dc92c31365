#include "admin/frmdetel_ct.h"

#include "buildconfig.h"
#include "ui/accessibility.h"
#include "ui/kit.h"
#include "ui/legacyfont.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace parcelon {
namespace {
constexpr int kFormWidth = 7560;
constexpr int kFormHeight = 4800;

// A small emblem drawn here, so the screen needs no image file: a plot of land divided into lots.
QPixmap emblem(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot(size * 0.1, size * 0.1, size * 0.8, size * 0.8);
    painter.setBrush(colours::emblemPlot);
    painter.setPen(QPen(colours::emblemEdge, 2));
    painter.drawRect(plot);
    painter.setPen(QPen(colours::emblemLots, 2));
    painter.drawLine(QPointF(plot.center().x(), plot.top()), QPointF(plot.center().x(), plot.bottom()));
    painter.drawLine(QPointF(plot.left(), plot.center().y()), QPointF(plot.center().x(), plot.center().y()));
    return pixmap;
}
} // namespace

frmdetel_ct::frmdetel_ct(QWidget *parent)
    : QDialog(parent)
{
    build();
    Form_Load();
}

QString frmdetel_ct::heading() { return QStringLiteral("Parcelon ") + QStringLiteral(PARCELON_VERSION); }

void frmdetel_ct::build()
{
    setObjectName(QStringLiteral("frmdetel_ct"));
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(twips(kFormWidth), twips(kFormHeight));

    picture = captionLabel(this, "picture", QString(), {360, 360, 1080, 1080});
    picture->setPixmap(emblem(twips(1080)));
    labheading = captionLabel(this, "labheading", heading(), {1680, 360, 5520, 540});
    labhelp = captionLabel(
        this, "labhelp", QStringLiteral("The land register of a divisional land office."), {1680, 960, 5520, 375});

    Label1 = captionLabel(this, "Label1", QStringLiteral("Name              :-"), {360, 1800, 2280, 375});
    labnamevalue = captionLabel(this, "labnamevalue", QStringLiteral("The Parcelon project"), {2760, 1800, 4440, 375});
    Label2 = captionLabel(this, "Label2", QStringLiteral("Telephon No  :-"), {360, 2220, 2280, 375});
    labtelvalue = captionLabel(this, "labtelvalue", QStringLiteral("Not published"), {2760, 2220, 4440, 375});
    Label3 = captionLabel(this, "Label3", QStringLiteral("E-mail             :-"), {360, 2640, 2280, 375});
    labemailvalue = captionLabel(this, "labemailvalue", QStringLiteral("Not published"), {2760, 2640, 4440, 375});
    Label4 = captionLabel(this, "Label4", QStringLiteral("Website         :-"), {360, 3060, 2280, 375});
    labwebvalue = captionLabel(this, "labwebvalue", QStringLiteral("Not published"), {2760, 3060, 4440, 375});
    labcontact = captionLabel(this, "labcontact", QStringLiteral("For help, ask your office's system administrator."),
        {360, 3540, 6840, 375});
    cmdexit = button(this, "cmdexit", QStringLiteral("Exit"), {5520, 4020, 1680, 435});

    labheading->setFont(latinFont(16, true));
    for (QLabel *label : {labhelp, labcontact, labnamevalue, labtelvalue, labemailvalue, labwebvalue})
        label->setFont(latinFont(10));
    for (QLabel *label : {Label1, Label2, Label3, Label4})
        label->setFont(latinFont(10, true));
    cmdexit->setFont(latinFont(10, true));

    connect(cmdexit, &QPushButton::clicked, this, &frmdetel_ct::cmdexit_Click);
    applyKeyPolicy(this, cmdexit);
    applyAccessibility(this,
        {{"Label1", "labnamevalue"}, {"Label2", "labtelvalue"}, {"Label3", "labemailvalue"},
            {"Label4", "labwebvalue"}});
}

void frmdetel_ct::Form_Load()
{
    // Centred on the display; the screen keeps its own colour.
    move(twips(screenWidthTwips() / 2 - kFormWidth / 2), twips(screenHeightTwips() / 2 - kFormHeight / 2));
}

void frmdetel_ct::cmdexit_Click() { close(); }

} // namespace parcelon
