#pragma once
// A clerk's hands: the keys, clicks and picks a clerk makes on a screen, each sent as the window system
// delivers them, so the screen's handlers see what they see in the office. Typing itself is
// test::type() in fixture.h.

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

namespace parcelon {
class ListView;
}

namespace parcelon::test {

// Presses Enter in a control (a box's Enter handler, a focused button).
void enter(QWidget *control);
// Clicks into a box and types, as a clerk moves to a box with the mouse.
void typeInto(QWidget *box, const QString &text);

// Picks an entry of a drop-down as a clerk does: a click opens the list, the arrow keys move to the entry
// and Enter takes it. The combo's Click fires, also when the entry is the one already shown.
void choose(QComboBox *combo, const QString &entry);

// Clicks a line of a list on its first column.
void clickRow(ListView *list, int row);
// Double-clicks a line: press, release, the second press as a double click, release.
void doubleClickRow(ListView *list, int row);
// Clicks a column's header.
void clickColumn(ListView *list, int column);
// The lines of a list, the given columns of each joined by '|' ("1|uy;a").
QStringList listLines(const ListView *list, const QList<int> &columns = {0, 1});

} // namespace parcelon::test
