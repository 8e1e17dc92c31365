#pragma once
// The list view of the screens: columns with captions and widths in twips, lines of text with sub-items,
// the selected line, sorting by a clicked column as text. A light string table behind a QTreeView holds
// 100,000 lines without delay.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTreeView>

#include <vector>

namespace parcelon {

class StringTableModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setHeaders(const QStringList &headers);
    // How each column's caption and texts are aligned (left when not given).
    void setAlignments(QList<Qt::Alignment> alignments);
    void append(QStringList line);
    void appendMany(std::vector<QStringList> lines);
    void removeLine(int row);
    void clear();
    const QStringList &line(int row) const { return m_lines[size_t(row)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    QVariant alignment(int column) const;
    QStringList m_headers;
    QList<Qt::Alignment> m_alignments;
    std::vector<QStringList> m_lines;
};

class ListView final : public QTreeView
{
    Q_OBJECT
public:
    explicit ListView(QWidget *parent = nullptr);

    struct Column
    {
        QString caption;
        int widthTwips;
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    void setColumns(const std::vector<Column> &columns);

    // Adds a line: its text and sub-items, one per column.
    void addItem(const QStringList &line);
    // Adds many lines at once; the first screenful shows at once.
    void addItems(std::vector<QStringList> lines);
    int count() const;
    QString text(int row, int column = 0) const;
    QStringList line(int row) const;
    // The selected line, or -1.
    int selectedRow() const;
    void selectRow(int row);
    void removeItem(int row);
    void clear();
    // Sorts by a column as text; a second sort on the same column reverses the order.
    void sortByColumnText(int column);

    StringTableModel *table() const { return m_model; }

signals:
    void itemClicked(int row);
    void itemDoubleClicked(int row);
    void columnClicked(int column);

private:
    StringTableModel *m_model;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace parcelon
