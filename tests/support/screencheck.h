#pragma once
// Checks that hold on every screen, each returning the faults it finds as readable lines (empty: none),
// so a failed test names the control and the numbers:
// - layout: no visible control overlaps another (a control inside a frame that holds it is no overlap),
//   no control leaves its window or its frame, no window leaves the screen, and no caption is cut
//   (its text, measured in the control's own font, fits the control less the style's frame and padding);
// - captions in PARAS-N read as valid Sinhala through the legacy converter.
// The layout is never recomputed here: only what a clerk would see as wrong is measured.

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QWidget;

namespace parcelon::test {

// Pairs of visible controls that overlap, by their names. Controls named in `mayOverlap` are left out
// (a background picture, a blocker that covers the window on purpose).
QStringList overlaps(QWidget *window, const QSet<QString> &mayOverlap = {});
// Visible controls that reach beyond their window or the frame that holds them, and the window itself
// when it reaches beyond the screen.
QStringList outside(QWidget *window);
// Visible captions whose text does not fit: labels, buttons, check boxes, group box titles, list
// headers and drop-down entries.
QStringList cutCaptions(QWidget *window);

// Every text of the window's controls drawn in PARAS-N: labels, buttons, group box titles, list headers,
// drop-down entries; shown or hidden.
struct ParasCaption
{
    QString control;
    QString what; // "caption", "column header", "entry"
    QString text;
};
QList<ParasCaption> parasCaptions(QWidget *window);

// Texts of the window's controls drawn in PARAS-N (labels, buttons, group box titles, list headers,
// drop-down entries; shown or hidden) that the converter does not read as Sinhala: invalid sequences,
// or characters outside the Sinhala block, digits, spaces and punctuation. Texts in `keep` are left out.
QStringList unreadableCaptions(QWidget *window, const QSet<QString> &keep = {});

// Whether legacy text reads as valid Sinhala (see unreadableCaptions); `why` says what is wrong.
bool readsAsSinhala(const QString &legacy, QString *why = nullptr);

} // namespace parcelon::test
