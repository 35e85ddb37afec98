#include "ui/common/DataGrid.h"

#include "data/Query.h"
#include "data/QueryModel.h"

#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
const QColor evenShade(0xff, 0xff, 0xff);
const QColor oddShade(0xe8, 0xf0, 0xf8);
// Columns fit their contents up to this width; the user may drag them wider.
constexpr int widestColumn = 320;
constexpr int narrowestColumn = 36;
// Rows measured for a column's width: enough to see what the column holds.
constexpr int measuredRows = 40;

// Widths the user set, per window and grid, then per column, for the session.
QHash<QString, QHash<QString, int>>& userWidths()
{
    static QHash<QString, QHash<QString, int>> widths;
    return widths;
}

// Widths worked out from a column's title and first rows, per window and grid, then per
// column, with whether rows were measured: a window opened again has them at hand.
QHash<QString, QHash<QString, std::pair<int, bool>>>& measuredWidths()
{
    static QHash<QString, QHash<QString, std::pair<int, bool>>> widths;
    return widths;
}
} // namespace

// The title row. Its height is worked out once from the font: the header's own size hint
// measures every title again after each reload, the dearest part of showing a document.
class TitleHeader : public QHeaderView
{
public:
    explicit TitleHeader(QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        QFont bold = font();
        bold.setBold(true);
        m_height = QFontMetrics(bold).height() + 10;
    }

    QSize sizeHint() const override { return QSize(length(), m_height); }
    QSize minimumSizeHint() const override { return QSize(0, m_height); }

private:
    int m_height;
};

// The row numbers down the left: as wide as the largest number needs, set when the number of
// digits changes rather than measured by the header after every reload.
class RowHeader : public QHeaderView
{
public:
    explicit RowHeader(QWidget* parent)
        : QHeaderView(Qt::Vertical, parent)
    {}

    void setDigits(int digits)
    {
        m_width =
            std::max(28, fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('9'))) + 14);
        updateGeometry();
    }
    QSize sizeHint() const override { return QSize(m_width, length()); }
    QSize minimumSizeHint() const override { return QSize(m_width, 0); }

private:
    int m_width = 28;
};

// A row's own colour, none when the window gives none or its row cannot be read now (a list
// read a screen at a time reads rows as they are painted).
static QColor rowColour(const std::function<QColor(int)>& colour, int row)
{
    if (!colour)
        return {};
    try {
        return colour(row);
    } catch (const std::exception&) {
        return {};
    }
}

// Paints the stripes, black text, and the frame around the current cell.
class DataGrid::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(DataGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QColor background = index.row() % 2 ? oddShade : evenShade;
        const QColor custom = rowColour(m_grid->m_rowColour, index.row());
        if (custom.isValid())
            background = custom;
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            background = background.darker(118);
        painter->fillRect(option.rect, background);

        QStyleOptionViewItem plain = option;
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QColor text(Qt::black);
        if (const QColor custom = rowColour(m_grid->m_rowTextColour, index.row()); custom.isValid())
            text = custom;
        plain.palette.setColor(QPalette::Text, text);
        plain.backgroundBrush = Qt::NoBrush;
        QStyledItemDelegate::paint(painter, plain, index);

        if (index == m_grid->currentIndex()) {
            painter->save();
            painter->setPen(QPen(m_grid->hasFocus() ? QColor(Qt::red) : QColor(Qt::darkGray), 2));
            painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }

private:
    DataGrid* m_grid;
};

DataGrid::DataGrid(Query* query, QWidget* parent)
    : QTableView(parent)
    , m_query(query)
    , m_model(new QueryModel(query, this))
{
    setModel(m_model);
    setItemDelegate(new Delegate(this));
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    // Several rows may be selected (Shift, Ctrl, Ctrl+A) for Copy; the current row is still the
    // query's.
    setSelectionMode(ExtendedSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setVerticalHeader(new RowHeader(this));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalHeader(new TitleHeader(this));
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultSectionSize(110);
    horizontalHeader()->setStretchLastSection(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DataGrid::titleClicked);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (m_sizing || section < 0 || section >= m_query->columnCount())
                    return;
                userWidths()[widthKey()].insert(m_query->columnName(section), size);
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        numberRows();
        applyWidths();
    });
    numberRows();
    connect(this, &QAbstractItemView::clicked, this, &DataGrid::cellClicked);
    connect(query, &Query::currentRowChanged, this, &DataGrid::followQuery);
    connect(query, &Query::rowsChanged, this, &DataGrid::followQuery);
    followQuery();
}

void DataGrid::setTitles(const QStringList& titles)
{
    m_model->setTitles(titles);
    // Each title fits its column.
    applyWidths();
}

QString DataGrid::widthKey() const
{
    // The form the grid belongs to: a child window's form or a window of its own.
    const QWidget* form = this;
    while (form->parentWidget() && !form->isWindow() &&
           !qobject_cast<const QMdiSubWindow*>(form->parentWidget()))
        form = form->parentWidget();
    return form->objectName() + QLatin1Char('/') + objectName();
}

void DataGrid::numberRows()
{
    // The row-number column is as wide as the largest number needs, set only when the number
    // of digits changes rather than measured by the header after every reload.
    const int digits = int(QString::number(std::max(1, m_model->rowCount())).size());
    if (digits == m_rowDigits)
        return;
    m_rowDigits = digits;
    static_cast<RowHeader*>(verticalHeader())->setDigits(digits);
}

int DataGrid::titleWidth(const QFontMetrics& metrics, int column) const
{
    // Titles are few and repeat: each is measured once.
    static QHash<QString, int> widths;
    const QString title = m_model->headerData(column, Qt::Horizontal).toString();
    auto found = widths.constFind(title);
    if (found == widths.constEnd())
        found = widths.insert(title, metrics.horizontalAdvance(title) + 18);
    return *found;
}

void DataGrid::applyWidths()
{
    const int columns = m_query->columnCount();
    if (columns == 0)
        return;
    const QString key = widthKey();
    const QHash<QString, int> chosen = userWidths().value(key);
    QHash<QString, std::pair<int, bool>>& measuredWidths = ::measuredWidths()[key];
    const QFontMetrics metrics = fontMetrics();
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics titleMetrics(bold);
    const int rows = std::min(m_model->rowCount(), measuredRows);
    m_sizing = true;
    for (int c = 0; c < columns - 1; ++c) {
        const QString name = m_query->columnName(c);
        int width = chosen.value(name, -1);
        if (width < 0) {
            // The rows are measured once, on the first rows the column shows, so that the
            // list keeps its widths from one reload to the next; the title always fits.
            const auto measured = measuredWidths.constFind(name);
            if (measured == measuredWidths.constEnd() || (!measured->second && rows > 0)) {
                // Rows spread over the whole list, not only its first ones, which often hold
                // the shortest numbers and names.
                // A list read a screen at a time is measured on the rows it holds.
                int need = 0;
                const int all = m_query->isPaged() ? m_query->heldRows() : m_model->rowCount();
                const int measured = std::min(rows, all);
                for (int i = 0; i < measured; ++i) {
                    const int r = int(qint64(i) * all / measured);
                    need =
                        std::max(need, metrics.horizontalAdvance(m_query->displayText(r, c)) + 12);
                }
                measuredWidths.insert(name, {need, rows > 0});
            }
            width =
                std::clamp(std::max(measuredWidths.value(name).first, titleWidth(titleMetrics, c)),
                           narrowestColumn, widestColumn);
        }
        if (horizontalHeader()->sectionSize(c) != width)
            horizontalHeader()->resizeSection(c, width);
    }
    m_sizing = false;
}

void DataGrid::setRedTitle(int column)
{
    m_model->setRedTitle(column);
}

void DataGrid::setRowColour(std::function<QColor(int)> colour)
{
    m_rowColour = std::move(colour);
    viewport()->update();
}

void DataGrid::setRowTextColour(std::function<QColor(int)> colour)
{
    m_rowTextColour = std::move(colour);
    viewport()->update();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // When the grid follows its query the query already moved: only the painting is left (the
    // view's own handling lays the whole list out again to scroll to the row).
    if (!m_syncing)
        QTableView::currentChanged(current, previous);
    if (!m_syncing && current.isValid() && current.row() != m_query->currentRow()) {
        m_syncing = true;
        m_query->setCurrentRow(current.row());
        m_syncing = false;
    }
    viewport()->update();
}

void DataGrid::followQuery()
{
    if (m_syncing)
        return;
    const int row = m_query->currentRow();
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = std::max(0, currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        // The first row of a list just loaded is in view already.
        if (row > 0 || verticalScrollBar()->value() > 0)
            scrollTo(index);
    }
    m_syncing = false;
    viewport()->update();
}

void DataGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void DataGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}
