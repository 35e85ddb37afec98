#include "ui/common/RecordWindow.h"

#include "data/DbError.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/SqlLiteral.h"
#include "data/TDM.h"
#include "ui/common/DataGrid.h"
#include "ui/common/DateBox.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/ListBox.h"
#include "ui/common/Navigator.h"
#include "ui/common/Prompter.h"
#include "ui/common/Windows.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");
const QString deleteQuestion = QStringLiteral("Are you sure you want to Delete this Record?");

QPushButton* commandButton(QWidget* parent, const QString& text, const QString& name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(120);
    return button;
}
} // namespace

RecordWindow::RecordWindow(RecordDescription description, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_list(DM->query(m_description.listQuery))
    , m_lookup(DM->query(m_description.lookupQuery))
{
    setObjectName(m_description.title);
    setWindowTitle(m_description.title);
    setProperty("openMaximized", true);
    buildForm();
}

void RecordWindow::buildForm()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("HeadingBand"));
    band->setFrameStyle(QFrame::Panel | QFrame::Raised);
    band->setStyleSheet(QStringLiteral("#HeadingBand { background: #31506e; }"));
    auto* bandLayout = new QHBoxLayout(band);
    auto* heading = new QLabel(m_description.title, band);
    heading->setObjectName(QStringLiteral("Heading"));
    QFont big = heading->font();
    big.setPointSize(20);
    big.setBold(true);
    heading->setFont(big);
    heading->setStyleSheet(QStringLiteral("color: #f3efe2;"));
    bandLayout->addWidget(heading);
    bandLayout->addStretch(1);
    layout->addWidget(band);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("EditPanel"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* panelLayout = new QHBoxLayout(panel);
    m_boxGrid = new QGridLayout;
    m_boxGrid->setHorizontalSpacing(8);
    m_boxGrid->setVerticalSpacing(4);
    panelLayout->addLayout(m_boxGrid, 3);

    m_chain = new FocusChain(this);
    QStringList order = m_description.focusOrder.value_or(QStringList());
    if (!m_description.focusOrder)
        for (const RecordBox& spec : m_description.boxes)
            order.append(spec.column);
    // Boxes are laid out in the Enter order, those reached with Tab only after them.
    QList<const RecordBox*> layoutOrder;
    for (const QString& column : order)
        for (const RecordBox& spec : m_description.boxes)
            if (spec.column == column)
                layoutOrder.append(&spec);
    for (const RecordBox& spec : m_description.boxes)
        if (!layoutOrder.contains(&spec))
            layoutOrder.append(&spec);

    QHash<QString, QWidget*> focusTargets;
    const int perColumn = int((layoutOrder.size() + 1) / 2);
    for (int i = 0; i < layoutOrder.size(); ++i) {
        const RecordBox& spec = *layoutOrder.at(i);
        QWidget* box = nullptr;
        QWidget* focusTarget = nullptr;
        switch (spec.kind) {
        case RecordBox::Edit:
            box = focusTarget = new QLineEdit(panel);
            break;
        case RecordBox::List: {
            auto* list = new ListBox(panel);
            if (!spec.listStatement.isEmpty()) {
                const QString statement = spec.listStatement;
                list->setSource([this, statement] { return listValues(statement); });
            }
            box = focusTarget = list;
            break;
        }
        case RecordBox::Date: {
            auto* date = new DateBox(panel);
            box = date;
            focusTarget = date->lineEdit();
            break;
        }
        }
        box->setObjectName(spec.column);
        auto* label = new QLabel(spec.label, panel);
        label->setBuddy(focusTarget);
        const int row = i % perColumn;
        const int column = (i / perColumn) * 2;
        m_boxGrid->addWidget(label, row, column);
        m_boxGrid->addWidget(box, row, column + 1);
        m_boxes.insert(spec.column, box);
        focusTargets.insert(spec.column, focusTarget);
    }
    m_boxGrid->setColumnStretch(1, 1);
    m_boxGrid->setColumnStretch(3, 1);
    // Few boxes stay together at the top instead of spreading over the panel's height.
    m_boxGrid->setRowStretch(perColumn, 1);
    for (const QString& column : order)
        m_chain->add(focusTargets.value(column));
    if (QWidget* wrap = focusTargets.value(m_description.enterWrapsTo))
        m_chain->wrapTo(wrap);
    if (!order.isEmpty())
        m_chain->bindInControls(Qt::Key_F2, [this] { save(); });

    m_figures = new QVBoxLayout;
    m_figures->setSpacing(4);
    panelLayout->addLayout(m_figures, 1);

    m_buttons = new QVBoxLayout;
    m_buttons->setSpacing(4);
    panelLayout->addLayout(m_buttons);
    const QList<std::pair<QString, std::function<void()>>> commands = {
        {QStringLiteral("New  ( F3 )"), [this] { newRecord(); }},
        {QStringLiteral("Save ( F2 )"), [this] { save(); }},
        {QStringLiteral("Delete ( F8 )"), [this] { remove(); }},
        {QStringLiteral("Refresh ( F5 )"), [this] { refresh(); }},
        {m_description.cancelCaption, [this] { cancel(); }},
    };
    const QStringList names = {"NewButton", "SaveButton", "DeleteButton", "RefreshButton",
                               "CancelButton"};
    for (int i = 0; i < commands.size(); ++i) {
        QPushButton* button = commandButton(panel, commands.at(i).first, names.at(i));
        const auto command = commands.at(i).second;
        connect(button, &QPushButton::clicked, this, [command] { guard(command); });
        m_buttons->addWidget(button);
    }
    m_buttons->addStretch(1);
    layout->addWidget(panel);

    m_grid = new DataGrid(m_list, this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->installEventFilter(this);
    connect(m_grid, &DataGrid::cellClicked, this, [this] { follow(RecordDescription::Click); });
    connect(m_grid, &DataGrid::titleClicked, this, &RecordWindow::titleClicked);
    layout->addWidget(m_grid, 1);

    auto* bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("BottomBand"));
    bottom->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* bottomLayout = new QHBoxLayout(bottom);
    QPushButton* close = commandButton(bottom, QStringLiteral("Close"), "CloseButton");
    connect(close, &QPushButton::clicked, this, [this] { closeWindow(this); });
    bottomLayout->addWidget(close);
    bottomLayout->addStretch(1);
    auto* searchLabel = new QLabel(QStringLiteral("Search"), bottom);
    m_search = new QLineEdit(bottom);
    m_search->setObjectName(m_description.searchBoxName);
    m_search->setMinimumWidth(220);
    searchLabel->setBuddy(m_search);
    connect(m_search, &QLineEdit::textChanged, this,
            [this](const QString& text) { guard([&] { search(text); }); });
    bottomLayout->addWidget(searchLabel);
    bottomLayout->addWidget(m_search);
    bottomLayout->addSpacing(16);
    m_navigator = new Navigator(m_list, bottom);
    connect(m_navigator, &Navigator::moved, this,
            [this] { follow(RecordDescription::NavigatorClick); });
    bottomLayout->addWidget(m_navigator);
    layout->addWidget(bottom);
}

QLabel* RecordWindow::addFigure(const QString& caption, const QString& name, const QString& text)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(caption, this);
    auto* value = new QLabel(text, this);
    value->setObjectName(name);
    value->setMinimumWidth(90);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(value);
    m_figures->addLayout(row);
    return value;
}

QPushButton* RecordWindow::addButton(const QString& text, const QString& name)
{
    QPushButton* button = commandButton(this, text, name);
    m_buttons->insertWidget(m_buttons->count() - 1, button);
    return button;
}

QWidget* RecordWindow::box(const QString& column) const
{
    return m_boxes.value(column);
}

QString RecordWindow::text(const QString& column) const
{
    QWidget* widget = box(column);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* list = qobject_cast<ListBox*>(widget))
        return list->text();
    if (auto* date = qobject_cast<DateBox*>(widget))
        return date->text();
    return {};
}

void RecordWindow::setText(const QString& column, const QString& text)
{
    QWidget* widget = box(column);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* list = qobject_cast<ListBox*>(widget))
        list->setText(text);
    else if (auto* date = qobject_cast<DateBox*>(widget))
        date->setText(text);
}

void RecordWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guard([this] { showList(); });
}

void RecordWindow::runStatement(Query* query, const QStringList& lines)
{
    query->close();
    query->setSql(lines);
}

void RecordWindow::setTitles(const QStringList& titles)
{
    m_grid->setTitles(titles);
}

void RecordWindow::loadList(const QStringList& titles)
{
    loadWith(m_description.listStatement, titles);
}

void RecordWindow::loadWith(const QString& statement, const QStringList& titles)
{
    runStatement(m_list, {statement});
    m_list->open();
    m_list->first();
    m_sortColumn.clear();
    m_grid->setRedTitle(-1);
    setTitles(titles);
    listLoaded();
}

void RecordWindow::showList()
{
    loadList(m_description.showTitles.value_or(m_description.titles));
    copyRow();
    if (m_description.figuresOnShow)
        computeFigures();
}

void RecordWindow::copyRow()
{
    const bool empty = m_list->isEmpty() || m_list->currentRow() < 0;
    for (const RecordBox& spec : m_description.boxes)
        setText(spec.column, empty ? QString() : m_list->field(spec.column).asText());
}

void RecordWindow::follow(RecordDescription::Event event)
{
    if (!(m_description.followOn & event))
        return;
    guard([&] {
        copyRow();
        if (m_description.figuresOn & event)
            computeFigures();
    });
}

bool RecordWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyRelease) {
            // A command key may have moved the focus away (New goes to the first box): the
            // release then belongs to that box, not to the list.
            if (!key->isAutoRepeat() && m_grid->hasFocus())
                follow(RecordDescription::KeyRelease);
            return false;
        }
        if (m_description.gridKeys.contains(key->key()) && key->modifiers() == Qt::NoModifier) {
            switch (key->key()) {
            case Qt::Key_F2:
                guard([this] { save(); });
                break;
            case Qt::Key_F3:
                guard([this] { newRecord(); });
                break;
            case Qt::Key_F5:
                guard([this] { refresh(); });
                break;
            case Qt::Key_F8:
                guard([this] { remove(); });
                break;
            default:
                break;
            }
            return true;
        }
        // Taken before the list handles the key: after an arrow key the boxes show the row
        // the cursor leaves.
        follow(RecordDescription::AnyKeyPress);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            follow(RecordDescription::KeyPress);
    }
    return QWidget::eventFilter(watched, event);
}

void RecordWindow::titleClicked(int column)
{
    const QString name = m_list->columnName(column);
    const bool sortable = m_description.sortable.isEmpty() ||
                          m_description.sortable.contains(name, Qt::CaseInsensitive);
    if (!sortable) {
        m_grid->setRedTitle(-1);
        return;
    }
    guard([&] {
        m_list->sort(name);
        m_sortColumn = name;
        m_grid->setRedTitle(column);
    });
}

void RecordWindow::search(const QString& text)
{
    // Before any title click the list is searched on its key column.
    const QString column = m_sortColumn.isEmpty() ? keyColumn() : m_sortColumn;
    if (!m_list->isOpen() || !m_list->locate(column, text))
        return;
    copyRow();
    if (m_description.searchComputesFigures)
        computeFigures();
}

QStringList RecordWindow::listValues(const QString& statement)
{
    runStatement(m_lookup, {statement});
    m_lookup->open();
    QStringList values;
    for (int row = 0; row < m_lookup->recordCount(); ++row)
        values.append(m_lookup->field(row, 0).asText());
    m_lookup->close();
    return values;
}

RecordWindow::Values RecordWindow::values() const
{
    Values v;
    for (const RecordBox& spec : m_description.boxes) {
        QString value = text(spec.column);
        const bool isKey = spec.column == keyColumn();
        if (value.trimmed().isEmpty() && m_description.zeroWhenEmpty.contains(spec.column))
            value = QStringLiteral("0");
        switch (isKey ? ColumnKind::Integer
                      : Schema::kindOf(spec.column).value_or(ColumnKind::Text)) {
        case ColumnKind::Integer:
            v.insert(spec.column, Sql::integer(value));
            break;
        case ColumnKind::Money:
        case ColumnKind::Real:
            v.insert(spec.column, Sql::number(value));
            break;
        case ColumnKind::Date:
            v.insert(spec.column, value.trimmed().isEmpty() ? QStringLiteral("Null")
                                                            : '#' + Sql::date(value) + '#');
            break;
        case ColumnKind::Bool:
        case ColumnKind::Text:
            v.insert(spec.column, Sql::text(value));
            break;
        }
    }
    return v;
}

namespace {
QString literal(const QString& column, const QString& value)
{
    switch (Schema::kindOf(column).value_or(ColumnKind::Text)) {
    case ColumnKind::Integer:
    case ColumnKind::Money:
    case ColumnKind::Real:
        return value;
    case ColumnKind::Date:
        return value;
    case ColumnKind::Bool:
    case ColumnKind::Text:
        break;
    }
    return '\'' + value + '\'';
}
} // namespace

QStringList RecordWindow::lines(const Values& v, const QStringList& columns, const QString& pattern)
{
    QStringList result;
    // Filled by name, not by arg(): arg() gives the column to the lowest placeholder, so a
    // pattern with only %2 (a list of values) would get the column name as its value.
    for (const QString& column : columns)
        result.append(QString(pattern)
                          .replace(QLatin1String("%1"), column)
                          .replace(QLatin1String("%2"), v.value(column)));
    return result;
}

QStringList RecordWindow::existsStatement(const Values& v) const
{
    return {"Select * From " + m_description.table + " where " + keyColumn() + "=" +
            v.value(keyColumn())};
}

QStringList RecordWindow::updateStatement(const Values& v) const
{
    QStringList lines{"Update " + m_description.table + " Set"};
    const auto& boxes = m_description.boxes;
    for (int i = 0; i < boxes.size(); ++i) {
        const QString& column = boxes.at(i).column;
        lines.append(" " + column + " = " + literal(column, v.value(column)) +
                     (i + 1 < boxes.size() ? "," : ""));
    }
    lines.append(" where " + keyColumn() + " = " + v.value(keyColumn()));
    return lines;
}

QStringList RecordWindow::insertStatement(const Values& v) const
{
    QStringList columns;
    QStringList literals;
    for (const RecordBox& spec : m_description.boxes) {
        columns.append(spec.column);
        literals.append(literal(spec.column, v.value(spec.column)));
    }
    return {"Insert Into " + m_description.table + " ( " + columns.join(", ") + " )",
            "Values ( " + literals.join(", ") + " )"};
}

QStringList RecordWindow::deleteStatement(const Values& v) const
{
    return {"Delete From " + m_description.table + " where " + keyColumn() + "=" +
            v.value(keyColumn())};
}

void RecordWindow::newRecord()
{
    for (const RecordBox& spec : m_description.boxes)
        setText(spec.column, m_description.newDefaults.value(spec.column));
    if (!m_description.newFromProfile.isEmpty()) {
        Query* profile = DM->query(QStringLiteral("QReg1"));
        if (!profile->isOpen())
            profile->open();
        profile->first();
        for (auto it = m_description.newFromProfile.cbegin();
             it != m_description.newFromProfile.cend(); ++it)
            setText(it.key(), profile->field(it.value()).asText());
    }
    // The largest key plus one, read with an aggregate rather than by loading every row.
    runStatement(m_lookup, {"Select Max(" + keyColumn() + ") From " + m_description.table});
    m_lookup->open();
    const Field largest = m_lookup->field(QStringLiteral("Expr1000"));
    const qint64 next = largest.isNull() ? 1 : largest.asInteger() + 1;
    m_lookup->close();
    setText(keyColumn(), QString::number(next));
    if (m_description.boxes.size() > 1)
        box(m_description.boxes.at(1).column)->setFocus();
}

void RecordWindow::save()
{
    if (text(keyColumn()).trimmed().isEmpty())
        return;
    // Every box is checked before the question, so nothing half-written can follow.
    const Values v = values();
    const QString key = v.value(keyColumn());
    if (Prompter::instance().confirm(saveQuestion)) {
        runStatement(m_lookup, existsStatement(v));
        m_lookup->open();
        const bool exists = !m_lookup->isEmpty();
        m_lookup->close();
        runStatement(m_lookup, exists ? updateStatement(v) : insertStatement(v));
        m_lookup->exec();
        const QString message =
            exists ? m_description.updatedMessage : m_description.insertedMessage;
        if (!message.isEmpty())
            Prompter::instance().inform(message);
    }
    afterSave(key);
}

void RecordWindow::afterSave(const QString& key)
{
    using AfterSave = RecordDescription::AfterSave;
    const AfterSave mode = m_description.afterSave;
    loadWith(m_description.saveListStatement.isEmpty() ? m_description.listStatement
                                                       : m_description.saveListStatement,
             m_description.titles);
    if (mode == AfterSave::SavedKeyTyped || mode == AfterSave::SavedKeyCopied)
        moveToKey(key);
    if (mode == AfterSave::FirstRowCopied || mode == AfterSave::SavedKeyCopied)
        copyRow();
    m_grid->setFocus();
}

void RecordWindow::moveToKey(const QString& key)
{
    const int keyIndex = m_list->columnIndex(keyColumn());
    for (int row = 0; row < m_list->recordCount(); ++row)
        if (m_list->field(row, keyIndex).asText() == key) {
            m_list->setCurrentRow(row);
            return;
        }
}

void RecordWindow::remove()
{
    if (text(keyColumn()).trimmed().isEmpty())
        return;
    const Values v = values();
    if (!Prompter::instance().confirm(deleteQuestion))
        return;
    runStatement(m_lookup, deleteStatement(v));
    m_lookup->exec();
    refresh();
}

void RecordWindow::refresh()
{
    // The key is read first: a key box that is not a number stops Refresh before the list
    // is reloaded.
    const QString key = m_description.refreshKeepsKey ? Sql::integer(text(keyColumn())) : QString();
    loadList(m_description.refreshTitles.value_or(m_description.titles));
    if (m_description.refreshKeepsKey)
        moveToKey(key);
    if (m_description.refreshCopiesFirstRow)
        copyRow();
    if (m_description.refreshFocusesGrid)
        m_grid->setFocus();
}

void RecordWindow::cancel()
{
    const QStringList titles = m_description.cancelTitles.value_or(
        m_description.refreshTitles.value_or(m_description.titles));
    switch (m_description.cancel) {
    case RecordDescription::Cancel::Refresh:
        refresh();
        break;
    case RecordDescription::Cancel::ReloadFirstRow:
        loadList(titles);
        copyRow();
        break;
    case RecordDescription::Cancel::CurrentRow:
        copyRow();
        break;
    }
}
