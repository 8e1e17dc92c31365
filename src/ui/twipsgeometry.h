#pragma once
// Controls placed in twips. Screens lay their controls out in twips, and some compute positions from
// other controls' positions: the twips are kept on the control, so the rounding to pixels never adds up.

class QWidget;

namespace parcelon::tw {

void place(QWidget *control, int left, int top, int width, int height);
void setLeft(QWidget *control, int left);
void setTop(QWidget *control, int top);
void setWidth(QWidget *control, int width);
void setHeight(QWidget *control, int height);

int left(const QWidget *control);
int top(const QWidget *control);
int width(const QWidget *control);
int height(const QWidget *control);
inline int right(const QWidget *control) { return left(control) + width(control); }
inline int bottom(const QWidget *control) { return top(control) + height(control); }

} // namespace parcelon::tw
