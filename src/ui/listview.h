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
    // Adds lines at the end, or in their place in the sort in effect, after the lines that compare equal.
    void append(QStringList line);
    void appendMany(std::vector<QStringList> lines);
    void removeLine(int row);
    // Empties the table and forgets its sort.
    void clear();
    // The same, handing the lines over to the caller to free.
    std::vector<QStringList> takeLines();
    // Frees lines: many of them on a worker thread, so that the key that emptied a long list shows its
    // new lines at once. (The texts' counts are atomic.)
    static void freeAside(std::vector<QStringList> lines);
    static constexpr size_t kFreedAside = 5000;
    const QStringList &line(int row) const { return m_lines[size_t(row)]; }
    const std::vector<QStringList> &lines() const { return m_lines; }
    // The column the lines are sorted by (-1 when they are in the order added) and its order.
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Sorts by a column as text, stably, and keeps that sort for lines added later.
    void sort(int column, Qt::SortOrder order) override;

private:
    QVariant alignment(int column) const;
    bool before(const QStringList &a, const QStringList &b) const;
    // Puts the lines in the sort in effect; the first `sortedLines` are in it already.
    void reorder(size_t sortedLines);
    QStringList m_headers;
    QList<Qt::Alignment> m_alignments;
    std::vector<QStringList> m_lines;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
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
    // Every line, in the order shown.
    const std::vector<QStringList> &lines() const { return m_model->lines(); }
    // The selected line, or -1.
    int selectedRow() const;
    void selectRow(int row);
    void removeItem(int row);
    // Empties the list and forgets its sort.
    void clear();
    // The same, handing its lines over to the caller to free (StringTableModel::freeAside).
    std::vector<QStringList> takeLines() { return m_model->takeLines(); }
    // Sorts by a column as text; a second sort on the same column reverses the order. Lines added
    // afterwards (the later pages of a fill among them) take their place in that order until clear().
    void sortByColumnText(int column);

    StringTableModel *table() const { return m_model; }

signals:
    void itemClicked(int row);
    void itemDoubleClicked(int row);
    void columnClicked(int column);

private:
    StringTableModel *m_model;
};

} // namespace parcelon
