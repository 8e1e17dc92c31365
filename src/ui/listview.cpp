#include "ui/listview.h"

#include "ui/screen.h"

#include <QHeaderView>

#include <algorithm>

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
    const int row = int(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines.push_back(std::move(line));
    endInsertRows();
}

void StringTableModel::appendMany(std::vector<QStringList> lines)
{
    if (lines.empty())
        return;
    const int first = int(m_lines.size());
    beginInsertRows({}, first, first + int(lines.size()) - 1);
    m_lines.insert(m_lines.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    endInsertRows();
}

void StringTableModel::removeLine(int row)
{
    if (row < 0 || row >= int(m_lines.size()))
        return;
    beginRemoveRows({}, row, row);
    m_lines.erase(m_lines.begin() + row);
    endRemoveRows();
}

void StringTableModel::clear()
{
    beginResetModel();
    m_lines.clear();
    endResetModel();
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

void StringTableModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged();
    auto cell = [column](const QStringList &line) { return column < line.size() ? line.at(column) : QString(); };
    std::stable_sort(m_lines.begin(), m_lines.end(), [&](const QStringList &a, const QStringList &b) {
        const int c = QString::compare(cell(a), cell(b), Qt::CaseInsensitive);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutChanged();
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

void ListView::clear()
{
    m_model->clear();
    m_sortColumn = -1;
}

void ListView::sortByColumnText(int column)
{
    m_sortOrder
        = (column == m_sortColumn && m_sortOrder == Qt::AscendingOrder) ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sortColumn = column;
    m_model->sort(column, m_sortOrder);
}

} // namespace parcelon
