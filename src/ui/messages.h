#pragma once
// The two message dialogs of every screen: frmmessage, a notice in legacy text, and frmmessage_y, a yes/no
// question whose yes acts by the caller's purpose code.

#include <QDialog>

class QLabel;
class QPushButton;

namespace parcelon {

class frmmessage final : public QDialog
{
    Q_OBJECT
public:
    explicit frmmessage(QWidget *parent = nullptr);

    QLabel *labmessage;
    QPushButton *cmdexit;

private:
    void Form_Load();
};

// Shows a notice modally and returns when the clerk closes it.
void message(QWidget *parent, const QString &text);

// The notice of a screen whose record another workstation changed after the screen loaded it: nothing
// was written, and the record is shown again as it now stands. "This record was changed on another
// computer. It is shown as it now stands."
inline const QString kChangedElsewhere
    = QStringLiteral("fuu f;dr;=re fjk;a mß.Klhlska fjkia lr we;' oekg we;s wdldrhg fmkajd we;'");
// The same for the screens whose messages are English.
inline const QString kChangedElsewhereLatin
    = QStringLiteral("Another workstation changed this record since it was shown. Nothing was saved; the record "
                     "is shown as it now stands.");

class frmmessage_y final : public QDialog
{
    Q_OBJECT
public:
    // The caller is the screen whose hidden labels and worker buttons the purpose code addresses.
    explicit frmmessage_y(QWidget *caller);

    QLabel *labmessage_y;
    QLabel *labcc; // purpose code, hidden
    QPushButton *cmdyes;
    QPushButton *cmdexit;

    void cmdyes_Click();

private:
    void Form_Load();
    QWidget *m_caller;
};

} // namespace parcelon
