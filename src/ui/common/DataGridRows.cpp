// A grid's rows leaving for a spreadsheet: Copy and Export..., on the grid's menu and keys.

#include "data/Csv.h"
#include "data/Query.h"
#include "data/QueryModel.h"
#include "ui/common/DataGrid.h"
#include "ui/common/Guard.h"
#include "ui/common/OutputFiles.h"
#include "ui/common/Prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>

Csv::Table DataGrid::rowsTable(bool selectedOnly) const
{
    Csv::Table table;
    QList<int> columns;
    for (int c = 0; c < m_query->columnCount(); ++c) {
        if (isColumnHidden(c))
            continue;
        columns.append(c);
        table.titles.append(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    const auto record = [&](const Query& rows, int row) {
        QStringList cells;
        for (int c : std::as_const(columns))
            cells.append(Csv::plainValue(rows.field(row, c)));
        table.rows.append(cells);
    };
    if (selectedOnly) {
        QList<int> rows;
        for (const QModelIndex& index : selectionModel()->selectedRows())
            rows.append(index.row());
        if (rows.isEmpty() && m_query->currentRow() >= 0 && !m_query->isEmpty())
            rows.append(m_query->currentRow());
        std::sort(rows.begin(), rows.end());
        for (int row : std::as_const(rows))
            record(*m_query, row);
        return table;
    }
    if (m_query->isPaged()) {
        // Every row in the order shown, not only those read so far.
        Query whole(QStringLiteral("Exported"), m_query->connection());
        whole.openWhole(*m_query);
        for (int row = 0; row < whole.recordCount(); ++row)
            record(whole, row);
        return table;
    }
    for (int row = 0; row < m_query->recordCount(); ++row)
        record(*m_query, row);
    return table;
}

void DataGrid::copyRows() const
{
    const Csv::Table table = rowsTable(true);
    if (table.rows.isEmpty())
        return;
    QApplication::clipboard()->setText(Csv::tabText(table));
}

void DataGrid::exportRows() const
{
    // Named after the window the list is in (a window inside the main window, not the main
    // window itself).
    QString title;
    for (QWidget* w = parentWidget(); w && title.isEmpty(); w = w->parentWidget())
        title = w->windowTitle();
    if (title.isEmpty())
        title = QStringLiteral("Rows");
    const QString file = Prompter::instance().chooseFile(
        {QStringLiteral("Export to CSV"), proposedFile(title, QStringLiteral("csv")),
         QStringLiteral("CSV files (*.csv)"), true});
    rememberFolder(file);
    if (!file.isEmpty())
        exportRowsTo(file);
}

bool DataGrid::exportRowsTo(const QString& fileName) const
{
    QString error;
    guard([&] { error = writeFile(fileName, Csv::document(rowsTable(false))); });
    if (!error.isEmpty())
        Prompter::instance().error(error);
    return error.isEmpty();
}

void DataGrid::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setObjectName(QStringLiteral("GridCopy"));
    copy->setEnabled(!m_query->isEmpty());
    QAction* exporting = menu.addAction(QStringLiteral("&Export..."));
    exporting->setObjectName(QStringLiteral("GridExport"));
    exporting->setEnabled(m_query->columnCount() > 0);
    connect(copy, &QAction::triggered, this, [this] { guard([this] { copyRows(); }); });
    connect(exporting, &QAction::triggered, this, [this] { exportRows(); });
    menu.exec(event->globalPos());
}

bool DataGrid::event(QEvent* event)
{
    // Ctrl+C is the grid's while it has the focus, not a shortcut of the window around it.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        guard([this] { copyRows(); });
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
