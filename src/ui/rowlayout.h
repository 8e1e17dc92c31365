#pragma once
// Rows of a screen laid out by what their texts need: captions and buttons as wide as their PARAS-N
// text, drop-downs as wide as their widest entry, placed left to right in twips.

#include <QStringList>

class QComboBox;
class QPushButton;
class QWidget;

namespace parcelon {

namespace rows {
inline constexpr int kHeight = 400; // a box or caption
inline constexpr int kButtonHeight = 450;
inline constexpr int kGapCaption = 50; // a caption to its box
inline constexpr int kGapBox = 200; // a box to the next caption
} // namespace rows

// Width in twips a caption or button needs for its text in its own font.
int fit(QWidget *control, int least = 0);
// Width in twips a drop-down needs to show its widest entry whole.
int fitCombo(QComboBox *combo, const QStringList &entries, int least = 1000);

// Places controls left to right on one row: each caption rows::kGapCaption before its box, each box
// rows::kGapBox before the next caption.
class Row
{
public:
    Row(int left, int top);
    Row &caption(QWidget *label);
    Row &box(QWidget *box, int width, int gap = rows::kGapBox, int height = rows::kHeight);
    Row &button(QPushButton *button, int least);
    // Where the next control would go.
    int x() const { return m_x; }
    // The right edge of the last control placed.
    int right() const { return m_x - rows::kGapBox; }

private:
    int m_x;
    int m_top;
};

} // namespace parcelon
