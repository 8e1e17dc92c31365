#include "ui/listview.h"

#include "base/freedmemory.h"

#include "ui/screen.h"

#include <QHeaderView>
#include <QThreadPool>

#include <algorithm>
#include <memory>
#include <numeric>

namespace parcelon {

void StringTableModel::setHeaders(const QStringList &headers)
{
    beginResetModel();
    m_headers = headers;
    endResetModel();
}

void StringTableModel::setAlignments(QList<Qt::Alignment> alignments)
{
    m_alignments = std::move(alignments);
    if (!m_headers.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_headers.size()) - 1);
}

QVariant StringTableModel::alignment(int column) const
{
    // Left-aligned columns keep the view's own alignment.
    if (column >= m_alignments.size() || m_alignments.at(column) == Qt::AlignLeft)
        return {};
    return int(m_alignments.at(column) | Qt::AlignVCenter);
}

void StringTableModel::append(QStringList line)
{
    // One line goes straight to its place, so a list sorted once does not re-sort on every line added.
    const auto at = m_sortColumn < 0 ? m_lines.end()
                                     : std::upper_bound(m_lines.begin(), m_lines.end(), line,
                                         [this](const QStringList &a, const QStringList &b) { return before(a, b); });
    const int row = int(at - m_lines.begin());
    beginInsertRows({}, row, row);
    m_lines.insert(at, std::move(line));
    endInsertRows();
}

void StringTableModel::appendMany(std::vector<QStringList> lines)
{
    if (lines.empty())
        return;
    const size_t sorted = m_lines.size();
    const int first = int(sorted);
    beginInsertRows({}, first, first + int(lines.size()) - 1);
    m_lines.insert(m_lines.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    endInsertRows();
    if (m_sortColumn >= 0)
        reorder(sorted);
}

void StringTableModel::removeLine(int row)
{
    if (row < 0 || row >= int(m_lines.size()))
        return;
    beginRemoveRows({}, row, row);
    m_lines.erase(m_lines.begin() + row);
    endRemoveRows();
}

void StringTableModel::clear() { freeAside(takeLines()); }

std::vector<QStringList> StringTableModel::takeLines()
{
    std::vector<QStringList> old;
    beginResetModel();
    old.swap(m_lines);
    m_sortColumn = -1;
    endResetModel();
    return old;
}

void StringTableModel::freeAside(std::vector<QStringList> lines)
{
    if (lines.size() < kFreedAside)
        return;
    auto freed = std::make_shared<std::vector<QStringList>>(std::move(lines));
    QThreadPool::globalInstance()->start([freed] {
        freed->clear();
        returnFreedMemoryLater();
    });
}

int StringTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_lines.size()); }

int StringTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant StringTableModel::data(const QModelIndex &index, int role) const
{
    if (index.isValid() && role == Qt::TextAlignmentRole)
        return alignment(index.column());
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const QStringList &line = m_lines[size_t(index.row())];
    return index.column() < line.size() ? line.at(index.column()) : QString();
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_headers.size())
        return m_headers.at(section);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section < m_headers.size())
        return alignment(section);
    return {};
}

bool StringTableModel::before(const QStringList &a, const QStringList &b) const
{
    static const QString none; // a line with fewer sub-items than columns
    const int column = m_sortColumn;
    const QString &x = column < a.size() ? a.at(column) : none;
    const QString &y = column < b.size() ? b.at(column) : none;
    const int c = QString::compare(x, y, Qt::CaseInsensitive);
    return m_sortOrder == Qt::AscendingOrder ? c < 0 : c > 0;
}

void StringTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    reorder(0);
}

void StringTableModel::reorder(size_t sortedLines)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The rows' numbers are sorted, not the lines, so the selection and the current line can move with them.
    std::vector<int> rows(m_lines.size());
    std::iota(rows.begin(), rows.end(), 0);
    auto byLine = [this](int a, int b) { return before(m_lines[size_t(a)], m_lines[size_t(b)]); };
    const auto tail = rows.begin() + qsizetype(sortedLines);
    std::stable_sort(tail, rows.end(), byLine);
    // The merge keeps lines already there before equal ones added later: the same as a stable sort.
    std::inplace_merge(rows.begin(), tail, rows.end(), byLine);
    std::vector<QStringList> lines;
    lines.reserve(m_lines.size());
    std::vector<int> placeOf(m_lines.size());
    for (const int row : rows) {
        placeOf[size_t(row)] = int(lines.size());
        lines.push_back(std::move(m_lines[size_t(row)]));
    }
    m_lines = std::move(lines);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to << this->index(placeOf[size_t(index.row())], index.column());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

ListView::ListView(QWidget *parent)
    : QTreeView(parent)
    , m_model(new StringTableModel(this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ListView::columnClicked);
    connect(this, &QTreeView::clicked, this, [this](const QModelIndex &index) { emit itemClicked(index.row()); });
    connect(this, &QTreeView::doubleClicked, this,
        [this](const QModelIndex &index) { emit itemDoubleClicked(index.row()); });
}

void ListView::setColumns(const std::vector<Column> &columns)
{
    QStringList headers;
    QList<Qt::Alignment> alignments;
    for (const Column &column : columns) {
        headers << column.caption;
        alignments << column.alignment;
    }
    m_model->setHeaders(headers);
    m_model->setAlignments(alignments);
    for (size_t i = 0; i < columns.size(); ++i)
        setColumnWidth(int(i), twips(columns[i].widthTwips));
}

void ListView::addItem(const QStringList &line) { m_model->append(line); }
void ListView::addItems(std::vector<QStringList> lines) { m_model->appendMany(std::move(lines)); }
int ListView::count() const { return m_model->rowCount(); }

QString ListView::text(int row, int column) const
{
    if (row < 0 || row >= count())
        return {};
    const QStringList &l = m_model->line(row);
    return column < l.size() ? l.at(column) : QString();
}

QStringList ListView::line(int row) const { return row >= 0 && row < count() ? m_model->line(row) : QStringList(); }

int ListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::selectRow(int row)
{
    if (row < 0 || row >= count()) {
        clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    setCurrentIndex(index);
    scrollTo(index);
}

void ListView::removeItem(int row) { m_model->removeLine(row); }

void ListView::clear() { m_model->clear(); }

void ListView::sortByColumnText(int column)
{
    const bool again = column == m_model->sortColumn() && m_model->sortOrder() == Qt::AscendingOrder;
    m_model->sort(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace parcelon
