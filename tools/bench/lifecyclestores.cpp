// The stores of the land's life: a permit change (history row, boundaries moved, land renumbered) and a
// succession (succession row, new holder), each made by its screen as a clerk makes it and timed per
// store, against the same statements run by hand on the driver in one transaction.

#include "compare.h"
#include "timing.h"

#include "base/dbsession.h"
#include "lifecycle/frmland_change.h"
#include "lifecycle/frmpasuhimika_change.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);
constexpr int kRuns = 5;

int rowCount(const QString &table) { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(); }

// Closes any dialog that would wait for a clerk (a refused store), so the run goes on and counts it.
class CloseDialogs final
{
public:
    CloseDialogs()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        m_timer.start(20);
    }

private:
    QTimer m_timer;
};

// Active lands of the synthetic register, from the middle of it, one per run.
std::vector<std::pair<QString, QString>> activeLands(int n)
{
    std::vector<std::pair<QString, QString>> lands;
    Query q = db().select(QStringLiteral("SELECT srno, balapa_no FROM land1 WHERE srno > (SELECT MAX(srno) / 2 FROM "
                                         "land) ORDER BY srno"));
    while (q.next() && int(lands.size()) < n)
        lands.emplace_back(q.value(0), q.value(1));
    return lands;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times.empty() ? 0 : times[times.size() / 2];
}

// The statements of a store by hand, in one transaction, as the least the store can cost.
double byHand(const std::function<void(QSqlQuery &, int)> &statements)
{
    int run = 0;
    return medianMs([&] {
        QSqlQuery q(db().database());
        db().database().transaction();
        statements(q, run++);
        db().database().commit();
    });
}

void row(const QString &what, double screen, double native, const QString &note)
{
    out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms  statements alone %2 ms   %3")
               .arg(screen, 8, 'f', 1)
               .arg(native, 8, 'f', 1)
               .arg(note)
        << Qt::endl;
}

void permitChange()
{
    const auto lands = activeLands(2 * kRuns);
    if (int(lands.size()) < 2 * kRuns)
        return;
    CloseDialogs closer;
    frmland_change screen(nullptr);
    const int history = rowCount(QStringLiteral("land_pera"));
    std::vector<double> times;
    int changed = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto &[srno, permit] = lands[size_t(run)];
        const QString fresh = QStringLiteral("C-%1").arg(permit);
        screen.txtlandno1->setText(permit);
        screen.txtlandno1_LostFocus();
        screen.txtlandno->setText(fresh);
        screen.txtlandno_LostFocus();
        QElapsedTimer timer;
        timer.start();
        screen.cmdenter_Click();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (db().scalar(QStringLiteral("SELECT balapa_no FROM land WHERE srno = ?"), {srno.toInt()}) == fresh)
            ++changed;
    }
    const bool oneRowEach = rowCount(QStringLiteral("land_pera")) == history + kRuns;
    const double native = byHand([&](QSqlQuery &q, int run) {
        const auto &[srno, permit] = lands[size_t(kRuns + run % kRuns)];
        const QString fresh = QStringLiteral("N-%1-%2").arg(permit).arg(run);
        const QString from = run < kRuns ? permit : QStringLiteral("N-%1-%2").arg(permit).arg(run - kRuns);
        q.prepare(QStringLiteral("SELECT srno FROM land1 WHERE balapa_no = ?"));
        q.addBindValue(fresh);
        q.exec();
        q.prepare(
            QStringLiteral("INSERT INTO land_pera (land_srno, id, guhasth, balapa_no1, balapa_no) SELECT "
                           "CAST(srno AS VARCHAR(20)), id, guhasth, balapa_no1, balapa_no FROM land WHERE srno = ?"));
        q.addBindValue(srno.toInt());
        q.exec();
        q.prepare(QStringLiteral("UPDATE hathara_maym SET landno = ? WHERE landno = ?"));
        q.addBindValue(fresh);
        q.addBindValue(from);
        q.exec();
        q.prepare(QStringLiteral("UPDATE land SET balapa_no = ?, balapa_no1 = 'k' WHERE srno = ?"));
        q.addBindValue(fresh);
        q.addBindValue(srno.toInt());
        q.exec();
    });
    row(QStringLiteral("permit change"), median(times), native,
        changed == kRuns && oneRowEach
            ? QStringLiteral("%1 lands renumbered, one history row each").arg(changed)
            : QStringLiteral("NOT MEASURED RIGHT: %1 of %2 stores changed a land").arg(changed).arg(kRuns));
}

void succession()
{
    const auto lands = activeLands(3 * kRuns);
    if (int(lands.size()) < 3 * kRuns)
        return;
    const std::optional<Query> successor
        = db().first(QStringLiteral("SELECT srno, id FROM landowner1 WHERE id <> '' ORDER BY srno DESC"));
    if (!successor)
        return;
    CloseDialogs closer;
    frmpasuhimika_change screen(nullptr);
    std::vector<double> times;
    int passed = 0;
    const int before = rowCount(QStringLiteral("pasuhimikam"));
    for (int run = 0; run < kRuns; ++run) {
        // The permit numbers of the lands the permit change renumbered are left alone.
        const auto &[srno, permit] = lands[size_t(2 * kRuns + run)];
        screen.txtlandno->setText(permit);
        screen.flan_a();
        screen.txtid_c->setText(successor->value(1));
        screen.txtid_c_LostFocus();
        QElapsedTimer timer;
        timer.start();
        screen.cmdok_Click();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (db().scalar(QStringLiteral("SELECT labn_owner_srno FROM land WHERE srno = ?"), {srno.toInt()})
            == successor->value(0))
            ++passed;
    }
    const bool oneRowEach = rowCount(QStringLiteral("pasuhimikam")) == before + kRuns;
    const double native = byHand([&](QSqlQuery &q, int run) {
        const auto &[srno, permit] = lands[size_t(2 * kRuns + run % kRuns)];
        q.prepare(QStringLiteral("SELECT srno, labn_owner_srno, balapa_no1, p_name, p_naya FROM land WHERE srno = ? "
                                 "AND balapa_no = ?"));
        q.addBindValue(srno.toInt());
        q.addBindValue(permit);
        q.exec();
        q.prepare(QStringLiteral("SELECT srno, house_no FROM landowner WHERE id = ? ORDER BY srno"));
        q.addBindValue(successor->value(1));
        q.exec();
        q.prepare(QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, newcus_srno, land_srno, landno) VALUES (?, "
                                 "?, ?, ?)"));
        q.addBindValue(successor->value(0));
        q.addBindValue(successor->value(0));
        q.addBindValue(srno);
        q.addBindValue(permit);
        q.exec();
        q.prepare(QStringLiteral("UPDATE land SET id = ?, labn_owner_srno = ? WHERE srno = ?"));
        q.addBindValue(successor->value(1));
        q.addBindValue(successor->value(0));
        q.addBindValue(srno.toInt());
        q.exec();
    });
    row(QStringLiteral("succession"), median(times), native,
        passed == kRuns && oneRowEach
            ? QStringLiteral("%1 lands passed on, one succession row each").arg(passed)
            : QStringLiteral("NOT MEASURED RIGHT: %1 of %2 stores passed a land").arg(passed).arg(kRuns));
}
} // namespace

void lifecycleStores()
{
    permitChange();
    succession();
}

} // namespace parcelon::bench
