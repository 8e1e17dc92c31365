#include "support/clerk.h"

#include "support/fixture.h"
#include "ui/listview.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QTest>

namespace parcelon::test {
namespace {
// The centre of a line's first cell in the list's viewport, the line scrolled into view.
QPoint rowCentre(ListView *list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    return list->visualRect(index).center();
}

bool rowOnScreen(ListView *list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    return index.isValid() && list->viewport()->rect().contains(list->visualRect(index).center());
}
} // namespace

void enter(QWidget *control) { QTest::keyClick(control, Qt::Key_Return); }

void typeInto(QWidget *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY2(box->hasFocus(), qPrintable(box->objectName() + QStringLiteral(" took no focus from a click")));
    type(box, text);
}

void choose(QComboBox *combo, const QString &entry)
{
    const int target = combo->findText(entry);
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    QVERIFY2(target >= 0, qPrintable(entry + QStringLiteral(" not in ") + entries.join(QLatin1Char('|'))));
    QVERIFY2(
        combo->isEnabled() && combo->isVisible(), qPrintable(combo->objectName() + QStringLiteral(" cannot be used")));

    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView *list = combo->view();
    QTRY_VERIFY2(list->isVisible(), qPrintable(combo->objectName() + QStringLiteral(": the list did not open")));
    for (int step = 0; step <= combo->count() && list->currentIndex().row() != target; ++step) {
        const int at = list->currentIndex().row();
        QTest::keyClick(list, at < target ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(list->currentIndex().row(), target);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY2(!list->isVisible(), qPrintable(combo->objectName() + QStringLiteral(": the list stayed open")));
    QCOMPARE(combo->currentText(), entry);
}

void clickRow(ListView *list, int row)
{
    const QPoint at = rowCentre(list, row);
    QVERIFY2(rowOnScreen(list, row),
        qPrintable(QStringLiteral("%1 has no line %2 to click").arg(list->objectName()).arg(row)));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

void doubleClickRow(ListView *list, int row)
{
    const QPoint at = rowCentre(list, row);
    QVERIFY2(rowOnScreen(list, row),
        qPrintable(QStringLiteral("%1 has no line %2 to click").arg(list->objectName()).arg(row)));
    QWidget *viewport = list->viewport();
    // QTest's double click on a widget sends the double-click press alone and leaves the button down:
    // the release that follows it is sent here, as the window system would.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
}

void clickColumn(ListView *list, int column)
{
    QHeaderView *header = list->header();
    QVERIFY2(header->isVisible() && column < header->count() && header->sectionSize(column) > 0,
        qPrintable(QStringLiteral("%1 has no column %2 to click").arg(list->objectName()).arg(column)));
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

QStringList listLines(const ListView *list, const QList<int> &columns)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row) {
        QStringList cells;
        for (int column : columns)
            cells << list->text(row, column);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace parcelon::test
