#include "ui/record.h"

#include "base/dbsession.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <stdexcept>

namespace parcelon {

RecordColumns::RecordColumns(QString table, std::initializer_list<Column> columns)
    : m_table(std::move(table))
    , m_columns(columns)
{
}

QStringList RecordColumns::columnNames() const
{
    QStringList names;
    for (const Column &c : m_columns)
        names << QString::fromLatin1(c.name);
    return names;
}

QString RecordColumns::insertSql(const QStringList &extra) const
{
    const QStringList names = columnNames() + extra;
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(m_table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

QString RecordColumns::updateSql(const QStringList &extra) const
{
    QStringList sets;
    for (const QString &name : columnNames())
        sets << name + QStringLiteral(" = ?");
    for (const QString &e : extra)
        sets << (e.contains(QLatin1Char('=')) ? e : e + QStringLiteral(" = ?"));
    return QStringLiteral("UPDATE %1 SET %2 WHERE srno = ?").arg(m_table, sets.join(QStringLiteral(", ")));
}

QString RecordColumns::selectSql(const QStringList &extra) const
{
    return QStringLiteral("SELECT srno, %1 FROM %2 ").arg((columnNames() + extra).join(QStringLiteral(", ")), m_table);
}

QVariantList RecordColumns::values() const
{
    QVariantList list;
    for (const Column &c : m_columns)
        list << controlText(c.control);
    return list;
}

void RecordColumns::fill(const Query &row) const
{
    for (const Column &c : m_columns)
        setControlText(c.control, row.value(QString::fromLatin1(c.name)));
}

void RecordColumns::fill(const Query &row, const QStringList &only) const
{
    for (const Column &c : m_columns) {
        const QString name = QString::fromLatin1(c.name);
        if (only.contains(name))
            setControlText(c.control, row.value(name));
    }
}

QString controlText(const QWidget *control)
{
    if (const auto *box = qobject_cast<const QLineEdit *>(control))
        return box->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    throw std::logic_error("a record column is bound to a control that holds no text");
}

bool writeControlText(QWidget *control, const QString &text)
{
    if (auto *box = qobject_cast<QLineEdit *>(control))
        box->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->setCurrentText(text);
    else
        return false;
    return true;
}

void setControlText(QWidget *control, const QString &text)
{
    if (!writeControlText(control, text))
        throw std::logic_error("a record column is bound to a control that holds no text");
}

} // namespace parcelon
