#pragma once
// What every screen shares: placement and colours, twips, dimming a screen and covering the main menu
// while a chooser is open, and selecting a text box's text.

#include "base/home.h"
#include "ui/colours.h"

#include <QColor>
#include <QString>

class QLineEdit;
class QWidget;

namespace parcelon {

// Positions and sizes are laid out in twips (1440 to the inch) and drawn in pixels at the screen's
// logical resolution.
int twips(int twips);
int toTwips(int pixels);
// The primary screen's size, in twips.
int screenWidthTwips();
int screenHeightTwips();

void setBackground(QWidget *widget, const QColor &colour);
QColor background(const QWidget *widget);

// Centres a dialog on the screen (a dialog larger than the screen gets a negative position) and gives
// it the dialog colour.
void center_form(QWidget *form);
// Fills the screen but a strip at the bottom, in the work colour.
void fill_screen(QWidget *form);
// Lays a screen over the main menu (or the screen, without one): its left, top and width and its height
// less 600 twips, the window frame included, so the frame too stays on the screen. The frame is known
// once the window is shown: a screen lays itself out again from its showEvent.
void cover_main_menu(QWidget *form);

// The opacity that dim_home and undim_home last chose: 100 while a screen is dimmed, 255 restored.
int sharedAlpha();
void set_alpha(QWidget *window, int alpha);
// Covers the main menu so it takes no clicks while a screen is dimmed, and uncovers it again.
void dim_home();
void undim_home();

// Selects the text from the caret to the end.
void select_all(QLineEdit *box);

} // namespace parcelon
