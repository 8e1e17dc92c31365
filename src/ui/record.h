#pragma once
// One table of column and control per record: the order in which a screen names a row's columns is
// written once, and drives the insert, the update and the filling of the controls from a row.
//
//     const RecordColumns owner(QStringLiteral("landowner"), {{"id", txtid}, {"house_no", txtguhano}, ...});
//     db().execute(owner.insertSql({"chak", ...}), owner.values() + QVariantList {...});
//     owner.fill(row);
//
// A control is a text box, a label or a drop-down (its text is the value: drop-downs store the chosen
// entry's text, never an index).

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <initializer_list>
#include <vector>

class QWidget;

namespace parcelon {

class Query;

class RecordColumns final
{
public:
    struct Column
    {
        const char *name;
        QWidget *control;
    };
    RecordColumns(QString table, std::initializer_list<Column> columns);

    // "INSERT INTO table (c1, c2, ..., extra1, ...) VALUES (?, ?, ...)": the controls' columns first,
    // then the extra columns whose values the caller appends to values().
    QString insertSql(const QStringList &extra = {}) const;
    // "UPDATE table SET c1 = ?, ..., extra1 = ? WHERE srno = ?"; an extra entry may carry its own value
    // ("chak = '1'"), otherwise it is "name" and takes a bound value after the controls' values.
    QString updateSql(const QStringList &extra = {}) const;
    // "SELECT srno, c1, c2, ... FROM table " plus extra columns, ready for a WHERE clause.
    QString selectSql(const QStringList &extra = {}) const;
    // The controls' texts, in the table's order.
    QVariantList values() const;
    // Writes each control from the row's column of the same name.
    void fill(const Query &row) const;
    // Writes only the listed columns' controls.
    void fill(const Query &row, const QStringList &only) const;
    QStringList columnNames() const;

private:
    QString m_table;
    std::vector<Column> m_columns;
};

// The text a control holds, and writing it: for a text box, a label and a drop-down.
QString controlText(const QWidget *control);
void setControlText(QWidget *control, const QString &text);
// The same, false for a control that holds no text.
bool writeControlText(QWidget *control, const QString &text);

} // namespace parcelon
