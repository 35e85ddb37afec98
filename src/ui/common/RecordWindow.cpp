#include "ui/common/RecordWindow.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Formats.h"
#include "data/KeyedRows.h"
#include "data/NumberClaim.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "data/TDM.h"
#include "data/Transaction.h"
#include "ui/common/DataGrid.h"
#include "ui/common/FocusChain.h"
#include "ui/common/Guard.h"
#include "ui/common/Navigator.h"
#include "ui/common/Prompter.h"
#include "ui/common/WindowParts.h"

#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString saveQuestion = QStringLiteral("Are you sure you want to Save this Record?");
const QString deleteQuestion = QStringLiteral("Are you sure you want to Delete this Record?");
} // namespace

RecordWindow::RecordWindow(RecordDescription description, QWidget* parent)
    : QWidget(parent)
    , m_description(std::move(description))
    , m_list(new Query(QStringLiteral("List"), DM->admin1(), this))
    , m_lookup(new Query(QStringLiteral("Lookup"), DM->admin1(), this))
{
    setObjectName(m_description.title);
    setWindowTitle(m_description.caption.isEmpty() ? m_description.title : m_description.caption);
    setProperty("openMaximized", true);
    // What a description leaves empty falls back to the key column, once for every command.
    const QString key = keyColumn();
    RecordDescription& d = m_description;
    if (d.searchColumn.isEmpty())
        d.searchColumn = key;
    m_boxes = new FormBoxes(m_description.boxes, this, m_lookup);
    buildForm();
}

QString RecordWindow::keyColumn() const
{
    return m_description.boxes.first().column;
}

QWidget* RecordWindow::box(const QString& column) const
{
    return m_boxes->box(column);
}

QString RecordWindow::text(const QString& column) const
{
    return m_boxes->text(column);
}

void RecordWindow::setText(const QString& column, const QString& text)
{
    m_boxes->setText(column, text);
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
    query->setSql(lines);
}

void RecordWindow::runStatement(Query* query, const SqlStatement& statement)
{
    query->setSql(statement);
}

void RecordWindow::setTitles(const QStringList& titles)
{
    m_grid->setTitles(titles);
    showSearchColumn();
}

void RecordWindow::loadList(const QStringList& titles)
{
    loadWith(m_description.listStatement, titles);
}

void RecordWindow::loadWith(const TableRead& read, const QStringList& titles)
{
    // However many rows the table holds, the list reads what it shows.
    m_list->openPaged(read);
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
    m_proposedKey.clear();
    m_boxes->copyRow(m_list);
    m_shownKey = m_list->currentKey();
}

bool RecordWindow::claimNewKey()
{
    // Whole numbers are claimed here; a window numbered by texts claims its own way.
    const QString key = text(keyColumn()).trimmed();
    if (m_description.key != RecordDescription::Key::Integer || m_proposedKey.isEmpty() ||
        key != m_proposedKey)
        return false;
    const SqlRow row = rowToSave();
    const NumberClaim::Claimed claimed = NumberClaim::insert(
        *DM->admin1(), row, keyColumn(), m_proposedKey.toLongLong(), numberedAlongside());
    m_proposedKey.clear();
    m_shownKey = claimed.key;
    if (claimed.renumbered) {
        setText(keyColumn(), QString::number(claimed.number));
        Prompter::instance().inform(
            QStringLiteral("Number %1 was saved meanwhile at another station. This record is "
                           "saved as number %2.")
                .arg(key)
                .arg(claimed.number));
    }
    return true;
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
            for (const Command& command : commands())
                if (command.key == key->key())
                    guard(command.run);
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
    const bool sortable =
        m_description.titleSort && (m_description.sortable.isEmpty() ||
                                    m_description.sortable.contains(name, Qt::CaseInsensitive));
    if (!sortable) {
        m_grid->setRedTitle(-1);
        return;
    }
    guard([&] {
        m_list->sort(name);
        m_sortColumn = name;
        m_grid->setRedTitle(column);
        showSearchColumn();
    });
}

QList<RecordWindow::Command> RecordWindow::commands()
{
    return {
        {QStringLiteral("New  ( F3 )"), Qt::Key_F3, [this] { newRecord(); }},
        {QStringLiteral("Save ( F2 )"), Qt::Key_F2, [this] { save(); }},
        {QStringLiteral("Delete ( F8 )"), Qt::Key_F8, [this] { remove(); }},
        {QStringLiteral("Refresh ( F5 )"), Qt::Key_F5, [this] { refresh(); }},
        {m_description.cancelCaption, Qt::Key_Escape, [this] { cancel(); }},
    };
}

QString RecordWindow::searchedColumn() const
{
    // A clicked title's column, else the description's.
    return m_sortColumn.isEmpty() ? m_description.searchColumn : m_sortColumn;
}

void RecordWindow::showSearchColumn()
{
    // The search box says which column it searches.
    const QString column = searchedColumn();
    const int index = m_list->columnIndex(column);
    QString title = index >= 0 ? m_grid->model()->headerData(index, Qt::Horizontal).toString()
                               : m_boxes->caption(column);
    m_search->setPlaceholderText(QStringLiteral("Search ") + title.trimmed());
}

void RecordWindow::search(const QString& text)
{
    if (!m_list->isOpen() || !m_list->locate(searchedColumn(), text))
        return;
    copyRow();
    if (m_description.searchComputesFigures)
        computeFigures();
}

SqlRow RecordWindow::rowToSave() const
{
    QHash<QString, SqlRow::EmptyNumber> empty;
    for (const RecordBox& box : m_description.boxes)
        if (const SqlRow::EmptyNumber written = whenEmpty(box.column);
            written != SqlRow::EmptyNumber::Null)
            empty.insert(box.column, written);
    return m_boxes->row(m_description.table, {}, empty);
}

SqlRow::EmptyNumber RecordWindow::whenEmpty(const QString&) const
{
    return SqlRow::EmptyNumber::Null;
}

QString RecordWindow::nextKey()
{
    // The largest key plus one, read with an aggregate rather than by loading every row.
    runStatement(m_lookup, SqlSelect::largest(m_description.table, keyColumn()));
    m_lookup->open();
    const Field largest = m_lookup->field(QStringLiteral("Expr1000"));
    const qint64 next = largest.isNull() ? 1 : largest.asInteger() + 1;
    m_lookup->close();
    return QString::number(next);
}

void RecordWindow::newRecord()
{
    QHash<QString, QString> texts = m_description.newDefaults;
    const QString today = Formats::shortDate(QDate::currentDate());
    for (const QString& column : m_description.newToday)
        texts.insert(column, today);
    if (!m_description.newFromProfile.isEmpty()) {
        Query* profile = DM->profile();
        if (!profile->isOpen())
            profile->open();
        profile->first();
        for (auto it = m_description.newFromProfile.cbegin();
             it != m_description.newFromProfile.cend(); ++it)
            texts.insert(it.key(), profile->field(it.value()).asText());
    }
    m_boxes->reset(texts, m_description.newKeeps);
    m_proposedKey.clear();
    m_shownKey = 0;
    if (m_description.key == RecordDescription::Key::Integer ||
        m_description.key == RecordDescription::Key::Text)
        setText(keyColumn(), nextKey());
    // A number New gives out is claimed when the record is first stored.
    if (m_description.key != RecordDescription::Key::None)
        m_proposedKey = text(keyColumn()).trimmed();
    const QString focus = !m_description.newFocus.isEmpty() ? m_description.newFocus
                          : m_description.boxes.size() > 1  ? m_description.boxes.at(1).column
                                                            : keyColumn();
    m_boxes->focusTarget(focus)->setFocus();
}

int RecordWindow::writeRow(const SqlRow& row, bool exists)
{
    runStatement(m_lookup, exists ? row.update({keyColumn()}) : row.insert());
    return m_lookup->exec();
}

void RecordWindow::saveChosenRow(const SqlRow& row)
{
    Connection& connection = *DM->admin1();
    Transaction transaction(&connection);
    if (m_shownKey != 0) {
        if (KeyedRows::update(connection, row, m_shownKey) == 0)
            throw DbError(KeyedRows::goneMessage(QStringLiteral("record")));
    } else {
        m_shownKey = KeyedRows::insert(connection, row);
    }
    transaction.commit();
}

void RecordWindow::save()
{
    if (text(neededForSave()).trimmed().isEmpty())
        return;
    // Every box is checked before the question, so nothing half-written can follow.
    const SqlRow row = rowToSave();
    QString key = text(keyColumn()).trimmed();
    if (Prompter::instance().confirm(saveQuestion)) {
        if (claimNewKey()) {
            if (!m_description.insertedMessage.isEmpty())
                Prompter::instance().inform(m_description.insertedMessage);
            afterSave(text(keyColumn()).trimmed());
            return;
        }
        bool exists = m_shownKey != 0;
        if (m_description.identity == RecordDescription::Identity::ChosenRow) {
            saveChosenRow(row);
        } else {
            // The check and the write are one unit: no other station comes in between.
            Transaction transaction(DM);
            runStatement(m_lookup, row.exists({keyColumn()}));
            m_lookup->open();
            exists = !m_lookup->isEmpty();
            m_lookup->close();
            if (writeRow(row, exists) == 0)
                throw DbError(KeyedRows::goneMessage(QStringLiteral("record")));
            transaction.commit();
        }
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
    if (mode == AfterSave::Refresh) {
        refresh();
        m_grid->setFocus();
        return;
    }
    loadWith(m_description.saveListStatement.value_or(m_description.listStatement),
             m_description.titles);
    if (mode == AfterSave::SavedKeyTyped || mode == AfterSave::SavedKeyCopied)
        moveToKey(key);
    if (mode == AfterSave::FirstRowCopied || mode == AfterSave::SavedKeyCopied)
        copyRow();
    m_grid->setFocus();
}

bool RecordWindow::moveToKey(const QString& key)
{
    const int row = m_list->findRow(keyColumn(), key);
    if (row < 0)
        return false;
    m_list->setCurrentRow(row);
    return true;
}

void RecordWindow::deleteRow()
{
    if (m_description.identity == RecordDescription::Identity::ChosenRow) {
        if (KeyedRows::remove(*DM->admin1(), m_description.table, m_shownKey) == 0)
            Prompter::instance().inform(QStringLiteral(
                "This record was already removed, at another station or in another window."));
        return;
    }
    const SqlRow row = m_boxes->row(m_description.table, {keyColumn()});
    runStatement(m_lookup, row.remove({keyColumn()}));
    m_lookup->exec();
}

void RecordWindow::remove()
{
    if (text(neededForDelete()).trimmed().isEmpty())
        return;
    if (m_description.identity == RecordDescription::Identity::ChosenRow) {
        // Delete removes the row the user chose in the list, and only it.
        if (m_shownKey == 0) {
            Prompter::instance().inform(
                QStringLiteral("This record is not saved, so there is nothing to delete. Choose "
                               "one in the list to delete it."));
            return;
        }
    } else {
        // The boxes are checked before the question.
        m_boxes->row(m_description.table, {keyColumn()});
    }
    if (!Prompter::instance().confirm(deleteQuestion))
        return;
    deleteRow();
    // The boxes no longer stand for a stored row, unless Refresh fills them again.
    if (m_description.identity == RecordDescription::Identity::ChosenRow)
        m_shownKey = 0;
    refresh();
}

void RecordWindow::refresh()
{
    // The key is read first: a key box that is not a number stops Refresh before the list
    // is reloaded.
    const bool numberKey = m_description.key == RecordDescription::Key::Integer;
    const QString key = !m_description.refreshKeepsKey ? QString()
                        : numberKey                    ? QString::number(Formats::wholeNumber(
                                                             text(keyColumn()), m_boxes->caption(keyColumn())))
                                                       : text(keyColumn()).trimmed();
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
    case RecordDescription::Cancel::Nothing:
        break;
    }
}
