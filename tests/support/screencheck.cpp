#include "support/screencheck.h"

#include "base/legacyconvert.h"
#include "ui/legacyfont.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextLayout>
#include <QTreeView>
#include <QWidget>

#include <algorithm>

namespace parcelon::test {
namespace {

// A frame or a plain widget holds controls; every other widget is one control, its inner parts
// (a list's viewport, a drop-down's arrow) belong to it.
bool holdsControls(const QWidget *w)
{
    return qobject_cast<const QGroupBox *>(w) || w->metaObject() == &QFrame::staticMetaObject
        || w->metaObject() == &QWidget::staticMetaObject;
}

void collect(QWidget *parent, QList<QWidget *> &out, bool visibleOnly)
{
    const QList<QWidget *> children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (visibleOnly && (!child->isVisibleTo(parent) || child->size().isEmpty()))
            continue;
        out << child;
        if (holdsControls(child))
            collect(child, out, visibleOnly);
    }
}

QList<QWidget *> controls(QWidget *window, bool visibleOnly = true)
{
    QList<QWidget *> out;
    collect(window, out, visibleOnly);
    return out;
}

QString caption(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *box = qobject_cast<const QGroupBox *>(w))
        return box->title();
    return {};
}

QString nameOf(const QWidget *w)
{
    if (!w->objectName().isEmpty())
        return w->objectName();
    return QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()), caption(w));
}

QRect inWindow(const QWidget *w, const QWidget *window) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); }

QString size(const QRect &r)
{
    return QStringLiteral("%1x%2 at %3,%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// A button's text without its mnemonic marks.
QString shown(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The width the text's ink and advance take, from the leftmost to the rightmost pixel.
int widthOf(const QFontMetrics &fm, const QString &text)
{
    const QRect ink = fm.boundingRect(text);
    return std::max(fm.horizontalAdvance(text), ink.right() + 1) - std::min(0, ink.left());
}

// Whether lines of text taking `linesHeight` keep their ink inside a box of the given height, aligned
// as given: the space above the first line's ink and below the last line's may lie outside.
bool fitsHeight(const QFontMetrics &fm, const QString &firstLine, const QString &lastLine, int linesHeight, int height,
    Qt::Alignment align)
{
    int linesTop = (height - linesHeight) / 2;
    if (align & Qt::AlignTop)
        linesTop = 0;
    else if (align & Qt::AlignBottom)
        linesTop = height - linesHeight;
    const int inkTop = linesTop + fm.ascent() + fm.tightBoundingRect(firstLine).top();
    const int inkBottom = linesTop + linesHeight - fm.height() + fm.ascent() + fm.tightBoundingRect(lastLine).bottom();
    return inkTop >= 0 && inkBottom < height;
}

// The lines word wrapping makes of a text in a given width, as a label draws them.
QStringList wrapped(const QFont &font, const QString &text, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

QString cut(const QWidget *w, const QString &what, const QString &text, int need, int have)
{
    return QStringLiteral("%1: %2 \"%3\" needs %4 px, has %5").arg(nameOf(w), what, text).arg(need).arg(have);
}

void checkLine(QStringList &faults, const QWidget *w, const QString &text, const QRect &space, Qt::Alignment align)
{
    const QFontMetrics fm(w->font());
    const int need = widthOf(fm, text);
    if (need > space.width())
        faults << cut(w, QStringLiteral("caption"), text, need, space.width());
    if (!fitsHeight(fm, text, text, fm.height(), space.height(), align))
        faults << QStringLiteral("%1: caption \"%2\" is cut at the top or bottom (%3 px high)")
                      .arg(nameOf(w), text)
                      .arg(space.height());
}

void checkLabel(QStringList &faults, const QLabel *label)
{
    const QString text = label->text();
    if (text.isEmpty() || label->textFormat() == Qt::RichText)
        return;
    const QFontMetrics fm(label->font());
    QRect space = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    int indent = label->indent();
    if (indent < 0)
        indent = label->frameWidth() > 0 ? fm.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    space.setWidth(space.width() - indent);
    if (!label->wordWrap()) {
        checkLine(faults, label, text, space, label->alignment());
        return;
    }
    // Wrapped: every word fits a line, and all lines fit the height.
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (widthOf(fm, word) > space.width())
            faults << cut(label, QStringLiteral("word"), word, widthOf(fm, word), space.width());
    }
    const QRect lines = fm.boundingRect(space, int(label->alignment()) | Qt::TextWordWrap, text);
    const QStringList broken = wrapped(label->font(), text, space.width());
    if (!fitsHeight(
            fm, broken.value(0), broken.value(broken.size() - 1), lines.height(), space.height(), label->alignment()))
        faults << QStringLiteral("%1: \"%2\" takes %3 px of lines, is cut at the top or bottom (%4 px high)")
                      .arg(nameOf(label), text)
                      .arg(lines.height())
                      .arg(space.height());
}

void checkButton(QStringList &faults, const QAbstractButton *button)
{
    const QString text = shown(button->text());
    if (text.isEmpty())
        return;
    const QStyle *style = button->style();
    if (qobject_cast<const QPushButton *>(button)) {
        // The style draws a push button's text inside its bevel, less the button margin.
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const QRect space = button->rect().adjusted(frame + margin / 2, frame, -frame - margin / 2, -frame);
        checkLine(faults, button, text, space, Qt::AlignVCenter);
    } else if (qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button)) {
        const bool check = qobject_cast<const QCheckBox *>(button);
        const int indicator = style->pixelMetric(
            check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, nullptr, button);
        const int spacing = style->pixelMetric(
            check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing, nullptr, button);
        checkLine(faults, button, text, button->rect().adjusted(indicator + spacing, 0, 0, 0), Qt::AlignVCenter);
    }
}

void checkHeaders(QStringList &faults, const QTreeView *list)
{
    const QHeaderView *header = list->header();
    if (header->isHidden())
        return;
    const QFontMetrics fm(header->font());
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int section = 0; section < header->count(); ++section) {
        const int width = header->sectionSize(section);
        if (header->isSectionHidden(section) || width == 0)
            continue;
        const QString text = list->model()->headerData(section, Qt::Horizontal).toString();
        const int need = widthOf(fm, text) + 2 * margin;
        if (need > width)
            faults << cut(list, QStringLiteral("column header"), text, need, width);
    }
}

void checkEntries(QStringList &faults, const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const int width
        = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    const QFontMetrics fm(combo->font());
    for (int i = 0; i < combo->count(); ++i) {
        const QString text = combo->itemText(i);
        if (widthOf(fm, text) > width)
            faults << cut(combo, QStringLiteral("entry"), text, widthOf(fm, text), width);
    }
}

bool isParas(const QWidget *w) { return w->font().family().compare(kParasFamily, Qt::CaseInsensitive) == 0; }

} // namespace

QStringList overlaps(QWidget *window, const QSet<QString> &mayOverlap)
{
    QList<QWidget *> all = controls(window);
    all.removeIf([&mayOverlap](const QWidget *w) { return mayOverlap.contains(w->objectName()); });
    QStringList faults;
    for (qsizetype i = 0; i < all.size(); ++i) {
        for (qsizetype j = i + 1; j < all.size(); ++j) {
            const QWidget *a = all[i];
            const QWidget *b = all[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a))
                continue;
            const QRect common = inWindow(a, window) & inWindow(b, window);
            if (!common.isEmpty())
                faults << QStringLiteral("%1 and %2 overlap: %3").arg(nameOf(a), nameOf(b), size(common));
        }
    }
    return faults;
}

QStringList outside(QWidget *window)
{
    QStringList faults;
    if (const QScreen *screen = window->screen()) {
        if (!screen->geometry().contains(window->frameGeometry()))
            faults << QStringLiteral("%1 (%2) leaves the screen %3x%4")
                          .arg(window->objectName(), size(window->frameGeometry()))
                          .arg(screen->geometry().width())
                          .arg(screen->geometry().height());
    }
    for (const QWidget *w : controls(window)) {
        const QWidget *holder = w->parentWidget();
        if (!holder->rect().contains(w->geometry()))
            faults << QStringLiteral("%1 (%2) leaves %3 (%4x%5)")
                          .arg(nameOf(w), size(w->geometry()), holder->objectName())
                          .arg(holder->width())
                          .arg(holder->height());
    }
    return faults;
}

QStringList cutCaptions(QWidget *window)
{
    QStringList faults;
    for (const QWidget *w : controls(window)) {
        if (auto *label = qobject_cast<const QLabel *>(w))
            checkLabel(faults, label);
        else if (auto *button = qobject_cast<const QAbstractButton *>(w))
            checkButton(faults, button);
        else if (auto *list = qobject_cast<const QTreeView *>(w))
            checkHeaders(faults, list);
        else if (auto *combo = qobject_cast<const QComboBox *>(w))
            checkEntries(faults, combo);
        else if (auto *box = qobject_cast<const QGroupBox *>(w); box && !box->title().isEmpty()) {
            const QFontMetrics fm(box->font());
            const int need = widthOf(fm, box->title()) + 2 * fm.horizontalAdvance(QLatin1Char(' ')) + 2;
            if (need > box->width())
                faults << cut(box, QStringLiteral("title"), box->title(), need, box->width());
        }
    }
    return faults;
}

bool readsAsSinhala(const QString &legacy, QString *why)
{
    const LegacyConversion reading = legacyToUnicode(legacy);
    QString fault;
    if (!reading.isValid()) {
        QStringList at;
        for (qsizetype position : reading.invalidPositions)
            at << QStringLiteral("'%1' at %2").arg(legacy.at(position)).arg(position);
        fault = QStringLiteral("no Sinhala reading for ") + at.join(QStringLiteral(", "));
    } else {
        for (const QChar ch : reading.unicode) {
            const bool sinhala = ch.unicode() >= 0x0D80 && ch.unicode() <= 0x0DFF;
            const bool joiner = ch.unicode() == 0x200D; // joins rakaransaya, yansaya and repaya
            if (!sinhala && !joiner && !ch.isSpace() && !ch.isDigit() && !ch.isPunct()) {
                fault = QStringLiteral("reads as \"%1\": U+%2 is no Sinhala")
                            .arg(reading.unicode)
                            .arg(ch.unicode(), 4, 16, QLatin1Char('0'));
                break;
            }
        }
    }
    if (why)
        *why = fault;
    return fault.isEmpty();
}

QList<ParasCaption> parasCaptions(QWidget *window)
{
    QList<ParasCaption> captions;
    auto add = [&captions](const QWidget *w, const QString &what, const QString &text) {
        if (!text.isEmpty())
            captions << ParasCaption {nameOf(w), what, text};
    };
    for (const QWidget *w : controls(window, false)) {
        if (auto *list = qobject_cast<const QTreeView *>(w)) {
            if (!isParas(list->header()))
                continue;
            // A column of width 0 carries a value for the screen's own use; its header is never seen.
            for (int section = 0; section < list->model()->columnCount(); ++section) {
                if (list->columnWidth(section) > 0)
                    add(list, QStringLiteral("column header"),
                        list->model()->headerData(section, Qt::Horizontal).toString());
            }
            continue;
        }
        if (!isParas(w))
            continue;
        if (auto *combo = qobject_cast<const QComboBox *>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                add(combo, QStringLiteral("entry"), combo->itemText(i));
        } else if (qobject_cast<const QLabel *>(w) || qobject_cast<const QGroupBox *>(w)) {
            add(w, QStringLiteral("caption"), caption(w));
        } else if (qobject_cast<const QAbstractButton *>(w)) {
            add(w, QStringLiteral("caption"), shown(caption(w)));
        }
    }
    return captions;
}

QStringList unreadableCaptions(QWidget *window, const QSet<QString> &keep)
{
    QStringList faults;
    for (const ParasCaption &c : parasCaptions(window)) {
        QString why;
        if (!keep.contains(c.text) && !readsAsSinhala(c.text, &why))
            faults << QStringLiteral("%1: %2 \"%3\" %4").arg(c.control, c.what, c.text, why);
    }
    return faults;
}

} // namespace parcelon::test
