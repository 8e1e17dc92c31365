#include "ui/kit.h"

#include "base/identity.h"
#include "ui/events.h"
#include "ui/legacyfont.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace parcelon {
namespace {
template <typename W> W *make(QWidget *form, const char *name, W *widget, Twips at)
{
    named(form, name, widget);
    widget->setFont(parasFont(12));
    if (at.width > 0 || at.height > 0)
        tw::place(widget, at.left, at.top, at.width, at.height);
    return widget;
}

class KeyPolicy final : public QObject
{
public:
    KeyPolicy(QDialog *screen, QAbstractButton *exit)
        : QObject(screen)
        , m_exit(exit)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        // The dialog would close itself; its exit button decides instead.
        if (m_exit && m_exit->isEnabled() && m_exit->isVisible())
            m_exit->click();
        Q_UNUSED(watched);
        return true;
    }

private:
    QAbstractButton *m_exit;
};
} // namespace

QLabel *captionLabel(QWidget *form, const char *name, const QString &text, Twips at)
{
    return make(form, name, new QLabel(text), at);
}

QLineEdit *textBox(QWidget *form, const char *name, Twips at, int maxLength)
{
    QLineEdit *box = make(form, name, new QLineEdit, at);
    box->setMaxLength(maxLength);
    setBackground(box, colours::field);
    return box;
}

QLabel *valueLabel(QWidget *form, const char *name, Twips at, const QColor &colour)
{
    QLabel *label = make(form, name, new QLabel, at);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setBackground(label, colour);
    return label;
}

QPushButton *button(QWidget *form, const char *name, const QString &caption, Twips at)
{
    QPushButton *b = make(form, name, new QPushButton(caption), at);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QComboBox *dropDown(QWidget *form, const char *name, Twips at)
{
    QComboBox *combo = make(form, name, new QComboBox, at);
    QPalette palette = combo->palette();
    palette.setColor(QPalette::Base, colours::field);
    palette.setColor(QPalette::Button, colours::field);
    combo->setPalette(palette);
    return combo;
}

QLabel *hiddenLabel(QWidget *form, const char *name, const QString &text)
{
    QLabel *label = named(form, name, new QLabel(text));
    label->hide();
    return label;
}

void applyKeyPolicy(QDialog *screen, QAbstractButton *exit)
{
    const QList<QPushButton *> buttons = screen->findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        b->setAutoDefault(false);
        b->setDefault(false);
        Events::of(b).enter([b] {
            if (b->isEnabled())
                b->click();
        });
    }
    screen->installEventFilter(new KeyPolicy(screen, exit));
}

void acceptOnly(QLineEdit *box, std::function<bool(QChar)> allowed)
{
    Events::of(box).keyPress([allowed = std::move(allowed)](QKeyEvent *event) {
        switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return false;
        case Qt::Key_Escape:
            return false; // the screen's key policy
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return true;
        default:
            break;
        }
        const QString typed = event->text();
        // Keys that type nothing (arrows, Home, End) only move the caret.
        if (typed.isEmpty())
            return false;
        return !(typed.size() == 1 && allowed(typed.at(0)));
    });
}

void identityBox(QLineEdit *box)
{
    box->setMaxLength(kIdentityLength);
    acceptOnly(box, isIdentityCharacter);
}

void extentBox(QLineEdit *box)
{
    static const QRegularExpression number(QStringLiteral("[0-9]*\\.?[0-9]*"));
    box->setValidator(new QRegularExpressionValidator(number, box));
}

int keyAscii(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return 13;
    return event->text().isEmpty() ? 0 : int(event->text().at(0).unicode());
}

void titleBand(QLabel *label, const QColor &colour)
{
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; background-color: %2; }")
                             .arg(colours::styleSheetColour(colours::bandText), colours::styleSheetColour(colour)));
}

void paintField(QWidget *field, const QColor &colour)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colour);
    if (qobject_cast<QComboBox *>(field))
        palette.setColor(QPalette::Button, colour);
    field->setPalette(palette);
    if (qobject_cast<QLineEdit *>(field))
        setBackground(field, colour);
}

void markRed(QWidget *field) { setBackground(field, colours::attention); }
void markNormal(QWidget *field, const QColor &colour) { setBackground(field, colour); }

} // namespace parcelon
