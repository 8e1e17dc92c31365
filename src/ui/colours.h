#pragma once
// Every colour of the screens, named for what it means. A screen takes its colours from here and spells
// none of its own, so a colour is changed once for every screen that shows it.

#include <QColor>
#include <QString>

namespace parcelon::colours {

// Screens
inline const QColor dialog {246, 173, 101}; // a dialog's face
inline const QColor work {192, 255, 255}; // light cyan: a working screen, and a frame on it
inline const QColor login {255, 224, 192}; // the login screen
inline const QColor backupScreen {243, 235, 107}; // the backup screen
inline const QColor backupCaption {251, 204, 10}; // its date and time captions
inline const QColor backupValue {254, 255, 134}; // its date and time

// Fields
inline const QColor field {255, 255, 192}; // light yellow: a box the clerk types into
inline const QColor fieldOff {192, 255, 192}; // a box that waits for another to be filled first
inline const QColor valueLabel {192, 255, 192}; // light green: a value the screen shows
inline const QColor focus {209, 116, 248}; // violet: the field that holds the focus
inline const QColor shownNumber {128, 255, 128}; // light green: a number the screen has set (a next number)
inline const QColor chosen {0, 255, 255}; // cyan: a line the clerk has chosen
inline const QColor attention {255, 0, 0}; // pure red: a required field left empty, a refused value, a warning
inline const QColor normal {255, 255, 255}; // white: a field back to plain
inline const QColor blink {0, 0, 255}; // the blink of a flashing caption

// Title bands: a screen's name across its top
inline const QColor band {0, 0, 0};
inline const QColor bandText {255, 255, 255};
inline const QColor homeBand {0, 64, 128}; // the main menu's band
inline const QColor shade {0, 0, 0, 60}; // the main menu's translucent strip

// The emblem of the office-details screen: a plot divided into lots
inline const QColor emblemPlot {120, 170, 90};
inline const QColor emblemEdge {60, 90, 40};
inline const QColor emblemLots {250, 240, 200};

// A colour as a style sheet spells it.
inline QString styleSheetColour(const QColor &colour)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.alpha());
}

} // namespace parcelon::colours
