#pragma once
// The screen kit: what every screen is built with.
//
// Recipe for a new screen (copy frmgamase_wasam, the smallest complete one):
//  1. A `final QDialog` in its area's folder, with the named controls as public members (the names the
//     register's screens have always used) and handlers named after control and event (`cmdok_Click`).
//  2. Build the controls with the factories below, each placed in twips and named; colours from
//     `colours` (ui/colours.h), never spelled in the screen; the screen's name across its top with
//     `titleBand`. Text boxes take at most what their column holds unless the screen allows fewer.
//  3. Hook events through the adapter (`Events::of(box).lostFocus(...)`, `comboClick`), and give the
//     screen the one key policy: `applyKeyPolicy(this, cmdexit)`.
//  4. Call `applyAccessibility` last in the constructor.
//  5. Run every handler's body inside `guarded(this, [&] { ... })`: a failure shows the common message.
//  6. Describe a record's columns and controls once in a `RecordColumns` table (ui/record.h); it makes
//     the insert, the update and the fill.
//  7. A change that checks and then writes (a next number, a uniqueness check) runs inside
//     `db().lockedChange(...)` and makes its check and its numbering again there.
//  8. Open other screens through the registry (ui/screenregistry.h) and hand values back with HandBack
//     (ui/handback.h). The screen is a row of the registry's table PARCELON_SCREENS, which makes its
//     identity and name and registers it; the shell includes its header (src/shell/screens.cpp).
//  9. English notices and questions go through `messageBox` (ui/messagebox.h), legacy-text ones through
//     `message` and frmmessage_y (ui/messages.h); no screen makes a QMessageBox.

#include "ui/colours.h"
#include "ui/controls.h"
#include "ui/screen.h"

#include <QColor>
#include <QString>

#include <functional>

class QAbstractButton;
class QComboBox;
class QDialog;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parcelon {

// Every text column of the register holds at most this many characters.
inline constexpr int kTextColumnLength = 255;

// A place in twips; a control made without one is placed by its screen's layout later.
struct Twips
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The factories: each makes a control, parents and names it, sets the screen's PARAS-N font and
// colours, and places it in twips.
QLabel *captionLabel(QWidget *form, const char *name, const QString &text, Twips at = {});
// A text box in the field colour that takes at most maxLength characters.
QLineEdit *textBox(QWidget *form, const char *name, Twips at = {}, int maxLength = kTextColumnLength);
// A sunken label showing a value (a number, a status).
QLabel *valueLabel(QWidget *form, const char *name, Twips at = {}, const QColor &colour = colours::valueLabel);
QPushButton *button(QWidget *form, const char *name, const QString &caption, Twips at = {});
QComboBox *dropDown(QWidget *form, const char *name, Twips at = {});
// Makes a label a title band: the screen's name, white on black (or on `colour`), across its top.
void titleBand(QLabel *label, const QColor &colour = colours::band);
// A field's colour: a text box's base, and a drop-down's base and button face.
void paintField(QWidget *field, const QColor &colour);
// A label nobody sees that carries a flag or a code between handlers and screens.
QLabel *hiddenLabel(QWidget *form, const char *name, const QString &text = {});

// The key policy of every screen: Enter on a focused button presses it (no button is the dialog's
// default, so Enter in a text box does only what that box's handler says); Escape does what the exit
// button does, so it never throws typed work away behind the screen's back. A screen without an exit
// button that may be pressed (the login, whose exit ends the program) passes null: Escape does nothing.
void applyKeyPolicy(QDialog *screen, QAbstractButton *exit);

// A key filter: the box accepts only characters for which `allowed` says yes; Backspace, Delete and the
// keys that move the caret pass, Enter never types, Escape goes on to the screen's key policy.
void acceptOnly(QLineEdit *box, std::function<bool(QChar)> allowed);
// A box for an identity number: ten characters at most, digits, "v" and "x" only.
void identityBox(QLineEdit *box);

// A box for a number of an extent (acres, hectares, roods, perches): digits and one decimal point, as typed
// or pasted; no sign, no words. A text set by the program (a stored value) is shown as it is.
void extentBox(QLineEdit *box);

// The character a key types, as the screens' KeyPress handlers see it: 13 for Enter, 0 for keys that
// type nothing (arrows, Shift).
int keyAscii(const QKeyEvent *event);

// Marks a field pure red (a required field left empty, a refused value) and back to its own colour.
void markRed(QWidget *field);
void markNormal(QWidget *field, const QColor &colour = colours::field);

} // namespace parcelon
