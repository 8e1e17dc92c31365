#include "ui/rowlayout.h"

#include "ui/screen.h"
#include "ui/twipsgeometry.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

namespace parcelon {

int fit(QWidget *control, int least) { return std::max(least, toTwips(control->sizeHint().width()) + 40); }

int fitCombo(QComboBox *combo, const QStringList &entries, int least)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.rect = QRect(0, 0, 400, 30);
    const int field
        = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    const QFontMetrics fm(combo->font());
    int widest = 0;
    for (const QString &entry : entries)
        widest = std::max(widest, fm.horizontalAdvance(entry));
    return std::max(least, toTwips(widest + (400 - field) + 6));
}

Row::Row(int left, int top)
    : m_x(left)
    , m_top(top)
{
}

Row &Row::caption(QWidget *label)
{
    const int width = fit(label);
    tw::place(label, m_x, m_top, width, rows::kHeight);
    m_x += width + rows::kGapCaption;
    return *this;
}

Row &Row::box(QWidget *box, int width, int gap, int height)
{
    tw::place(box, m_x, m_top, width, height);
    m_x += width + gap;
    return *this;
}

Row &Row::button(QPushButton *button, int least)
{
    return box(button, fit(button, least), rows::kGapBox, rows::kButtonHeight);
}

} // namespace parcelon
