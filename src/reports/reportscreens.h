#pragma once
// What the two list reports share: the status option buttons and the office name for a report header.

#include <QString>

class QRadioButton;
class QWidget;

namespace parcelon {

// An option button of a status choice, in PARAS-N, named and placed in twips.
QRadioButton *optionButton(QWidget *form, const char *name, const QString &caption, int left, int top, int width);

} // namespace parcelon
