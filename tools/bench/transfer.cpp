// The transfer and division screen's rows of the bench: opening the screen (its reason list is one
// query over every land), a transfer stored and a division stored, each timed from the clerk's button
// to the committed change, beside the same statements run by hand in one transaction.

#include "compare.h"
#include "timing.h"

#include "base/dbsession.h"
#include "lifecycle/frmland_pewarima.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);

// Answers the division's question with yes and closes any other dialog, recording what it said.
class YesToEverything final
{
public:
    YesToEverything()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (auto *question = qobject_cast<frmmessage_y *>(dialog)) {
                question->cmdyes->click();
            } else if (dialog && !qobject_cast<frmland_pewarima *>(dialog)) {
                for (const QLabel *label : dialog->findChildren<QLabel *>())
                    m_seen << label->text();
                dialog->close();
            }
        });
        m_timer.start(0);
    }
    QStringList seen() const { return m_seen; }

private:
    QTimer m_timer;
    QStringList m_seen;
};

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Permit numbers of lands in force, spread over the register.
QStringList landsInForce(int count, int lands)
{
    QStringList permits;
    for (int i = 0; i < count; ++i) {
        const std::optional<Query> land
            = db().first(QStringLiteral("SELECT balapa_no FROM land1 WHERE srno >= ? ORDER BY srno"),
                {(i + 1) * lands / (count + 2)});
        if (land)
            permits << land->value(0);
    }
    return permits;
}

// The statements of a store by hand: the two lands read, the land updated and the history row written,
// in one transaction, committed as the screen commits.
double statementsAlone(const QString &first, const QString &second, bool division)
{
    return medianMs([&] {
        QSqlDatabase database = db().database();
        database.transaction();
        QSqlQuery q(database);
        q.prepare(QStringLiteral("SELECT srno, akkara, rut, parchase, akkara_only FROM land1 WHERE balapa_no = ?"));
        q.addBindValue(first);
        q.exec();
        q.next();
        const QVariant srno = q.value(0);
        if (!division) {
            q.prepare(QStringLiteral("SELECT akkara_only FROM land1 WHERE balapa_no = ?"));
            q.addBindValue(second);
            q.exec();
            q.next();
        }
        q.prepare(QStringLiteral("UPDATE land SET akkara = akkara WHERE srno = ?"));
        q.addBindValue(srno);
        q.exec();
        q.prepare(QStringLiteral("INSERT INTO land_pewarima (land_srno, land_no) VALUES (?, ?)"));
        q.addBindValue(srno.toString());
        q.addBindValue(first);
        q.exec();
        database.commit();
    });
}

void row(const QString &what, double screen, double alone, const QString &outcome)
{
    out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms  statements alone %2 ms   %3")
               .arg(screen, 8, 'f', 1)
               .arg(alone, 8, 'f', 1)
               .arg(outcome)
        << Qt::endl;
}
} // namespace

void transferAndDivision(const Size &size)
{
    const double opening = medianMs([] { frmland_pewarima screen; }, 3);
    out << qSetFieldWidth(46) << Qt::left << QStringLiteral("transfer screen opening") << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms   %2 reasons")
               .arg(opening, 8, 'f', 1)
               .arg(frmland_pewarima().cmbrajaya->count())
        << Qt::endl;

    const int runs = 5;
    const QStringList lands = landsInForce(2 * runs + 1, size.lands);
    if (lands.size() < 2 * runs + 1) {
        out << "transfer and division: NOT MEASURED, too few lands in force" << Qt::endl;
        return;
    }
    YesToEverything answers;
    frmland_pewarima screen;

    // Transfers: each of the first lands passes part of its extent to the same second land.
    std::vector<double> times;
    const int before = db().scalar(QStringLiteral("SELECT COUNT(*) FROM land_pewarima")).toInt();
    for (int run = 0; run < runs; ++run) {
        screen.txtlandno_h->setText(lands.at(run));
        screen.fland_d();
        screen.txtlandno->setText(lands.last());
        screen.land2();
        screen.txtakkara_h->setText(QStringLiteral("1"));
        screen.txtrud_h->setText(QStringLiteral("0"));
        screen.txtparchase_h->setText(QString::number(run));
        QElapsedTimer timer;
        timer.start();
        screen.cmdok_Click();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const int transfers = db().scalar(QStringLiteral("SELECT COUNT(*) FROM land_pewarima")).toInt() - before;
    row(QStringLiteral("transfer store"), median(times), statementsAlone(lands.at(0), lands.last(), false),
        transfers == runs ? QStringLiteral("%1 stored").arg(transfers)
                          : QStringLiteral("ONLY %1 OF %2 STORED (%3)")
                                .arg(transfers)
                                .arg(runs)
                                .arg(answers.seen().join(QStringLiteral("; "))));

    // Divisions: each takes another land out of force. The time includes the yes/no question.
    screen.optland_behera->click();
    times.clear();
    const int beforeDivisions = db().scalar(QStringLiteral("SELECT COUNT(*) FROM land_pewarima")).toInt();
    for (int run = 0; run < runs; ++run) {
        screen.txtlandno_h->setText(lands.at(runs + run));
        screen.fland_d();
        QElapsedTimer timer;
        timer.start();
        screen.cmdenter_Click();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const int divided = db().scalar(QStringLiteral("SELECT COUNT(*) FROM land_pewarima")).toInt() - beforeDivisions;
    row(QStringLiteral("division store (with its question)"), median(times),
        statementsAlone(lands.at(0), QString(), true),
        divided == runs ? QStringLiteral("%1 stored").arg(divided)
                        : QStringLiteral("ONLY %1 OF %2 STORED (%3)")
                              .arg(divided)
                              .arg(runs)
                              .arg(answers.seen().join(QStringLiteral("; "))));
}

} // namespace parcelon::bench
