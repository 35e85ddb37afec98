#include "ui/common/FormBoxes.h"

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlSelect.h"
#include "ui/common/DateBox.h"
#include "ui/common/Guard.h"
#include "ui/common/ListBox.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>

namespace {
bool isYes(const QString& text)
{
    const QString t = text.trimmed();
    return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1");
}
} // namespace

FormBoxes::FormBoxes(QList<FormBox> boxes, QWidget* parent, Query* lists)
    : QObject(parent)
    , m_boxes(std::move(boxes))
    , m_lists(lists)
{
    for (const FormBox& spec : m_boxes)
        create(spec, parent);
}

QWidget* FormBoxes::create(const FormBox& spec, QWidget* parent)
{
    const QString name = spec.name.isEmpty() ? spec.column : spec.name;
    const QString column = spec.column;
    QWidget* widget = nullptr;
    QWidget* focus = nullptr;
    switch (spec.kind) {
    case FormBox::Edit: {
        auto* edit = new QLineEdit(parent);
        connect(edit, &QLineEdit::textEdited, this, [this, column] { emit edited(column); });
        widget = focus = edit;
        break;
    }
    case FormBox::List:
    case FormBox::Choice: {
        QComboBox* combo = nullptr;
        if (spec.kind == FormBox::List) {
            auto* list = new ListBox(parent);
            list->setLeading(spec.items);
            if (!spec.list.isEmpty() && m_lists) {
                const ListSource source = spec.list;
                list->setSource([this, source] { return listValues(source); });
            }
            combo = list;
        } else {
            combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems(spec.items);
        }
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, column](const QString& text) {
                    m_known.insert(column, text);
                    emit edited(column);
                });
        // A drop-down also reports as chosen the text it merely finds in its list when the
        // box is left: only a text other than the one it held counts as the user's choice.
        connect(combo, &QComboBox::textActivated, this, [this, column](const QString& text) {
            if (m_known.value(column) == text)
                return;
            m_known.insert(column, text);
            emit edited(column);
        });
        widget = focus = combo;
        break;
    }
    case FormBox::Date: {
        auto* date = new DateBox(parent);
        if (!spec.pickerName.isEmpty()) {
            date->setObjectName(spec.pickerName);
            date->lineEdit()->setObjectName(name);
        }
        connect(date->lineEdit(), &QLineEdit::textEdited, this,
                [this, column] { emit edited(column); });
        connect(date, &DateBox::datePicked, this, [this, column] { emit edited(column); });
        widget = date;
        focus = date->lineEdit();
        break;
    }
    case FormBox::Memo: {
        auto* memo = new QPlainTextEdit(parent);
        memo->setTabChangesFocus(true);
        memo->setMaximumHeight(memo->fontMetrics().lineSpacing() * 4 + 12);
        widget = focus = memo;
        break;
    }
    case FormBox::Check: {
        auto* check = new QCheckBox(spec.label, parent);
        connect(check, &QCheckBox::clicked, this, [this, column] { emit edited(column); });
        widget = focus = check;
        break;
    }
    }
    if (widget->objectName().isEmpty())
        widget->setObjectName(name);
    m_widgets.insert(column, widget);
    m_focus.insert(column, focus);
    return widget;
}

QStringList FormBoxes::listValues(const ListSource& source)
{
    // A drop-down is filled each time the clerk comes to it: its values are kept while the
    // table they come from is unchanged.
    const quint64 now = m_lists->connection()->generation(source.table);
    const QString name = source.table + '.' + source.column + '.' + QString::number(source.rows);
    const auto kept = m_kept.constFind(name);
    if (kept != m_kept.constEnd() && kept->first == now)
        return kept->second;
    m_lists->setSql(source.rows == ListSource::Distinct
                        ? SqlSelect::distinct(source.table, source.column)
                        : SqlSelect::all(source.table, source.column));
    m_lists->open();
    const QStringList values = m_lists->values();
    m_lists->close();
    m_kept.insert(name, {now, values});
    return values;
}

void FormBoxes::whenLeftEmpty(const QHash<QString, QString>& texts)
{
    m_whenLeftEmpty = texts;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        focusTarget(it.key())->installEventFilter(this);
}

void FormBoxes::lookUpOnLeaving(const QList<BoxLookup>& lookups)
{
    m_lookups = lookups;
    for (const BoxLookup& lookup : lookups)
        focusTarget(lookup.from)->installEventFilter(this);
}

bool FormBoxes::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    // Only a move to another control counts as leaving a box, not a message box or a
    // drop-down list taking the focus for a moment.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    for (auto it = m_whenLeftEmpty.cbegin(); it != m_whenLeftEmpty.cend(); ++it)
        if (watched == focusTarget(it.key()) && text(it.key()).isEmpty())
            setText(it.key(), it.value());
    for (const BoxLookup& lookup : m_lookups)
        if (watched == focusTarget(lookup.from))
            guard([&] { lookUp(lookup); });
    return false;
}

void FormBoxes::lookUp(const BoxLookup& lookup)
{
    m_lists->setSql(SqlSelect::where(lookup.table, lookup.match, text(lookup.from)));
    m_lists->open();
    QString filled = lookup.pattern;
    for (int c = 0; c < m_lists->columnCount(); ++c)
        filled.replace('%' + m_lists->columnName(c) + '%',
                       m_lists->isEmpty() ? QString() : m_lists->field(0, c).asText(),
                       Qt::CaseInsensitive);
    m_lists->close();
    setText(lookup.to, filled);
}

const FormBox* FormBoxes::spec(const QString& column) const
{
    for (const FormBox& box : m_boxes)
        if (box.column == column)
            return &box;
    return nullptr;
}

QString FormBoxes::caption(const QString& column) const
{
    const FormBox* box = spec(column);
    return box ? box->label : column;
}

int FormBoxes::layOut(QGridLayout* grid, QList<QStringList> columns, QStringList order)
{
    if (columns.isEmpty()) {
        for (const FormBox& box : m_boxes)
            if (!order.contains(box.column))
                order.append(box.column);
        const qsizetype perColumn = (order.size() + 1) / 2;
        columns = {order.mid(0, perColumn), order.mid(perColumn)};
    }
    int rows = 0;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        int row = 0;
        for (const QString& column : columns.at(c)) {
            const FormBox* box = spec(column);
            if (!box)
                continue;
            QWidget* widget = m_widgets.value(column);
            const int span = box->kind == FormBox::Memo ? 3 : 1;
            if (box->kind != FormBox::Check) {
                auto* label = new QLabel(box->label, widget->parentWidget());
                label->setBuddy(m_focus.value(column));
                grid->addWidget(label, row, int(c) * 2, span, 1, Qt::AlignLeft | Qt::AlignTop);
            }
            grid->addWidget(widget, row, int(c) * 2 + 1, span, 1);
            row += span;
        }
        rows = std::max(rows, row);
        grid->setColumnStretch(int(c) * 2 + 1, 1);
    }
    return rows;
}

void FormBoxes::placeBeside(QGridLayout* grid, const QString& column, QWidget* widget) const
{
    int row = 0, col = 0, rows = 0, cols = 0;
    grid->getItemPosition(grid->indexOf(box(column)), &row, &col, &rows, &cols);
    grid->addWidget(widget, row, col + cols);
}

QString FormBoxes::text(const QString& column) const
{
    QWidget* widget = m_widgets.value(column);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* date = qobject_cast<DateBox*>(widget))
        return date->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        return memo->toPlainText();
    if (auto* check = qobject_cast<QCheckBox*>(widget))
        return check->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    return {};
}

void FormBoxes::setText(const QString& column, const QString& text)
{
    QWidget* widget = m_widgets.value(column);
    if (!widget)
        return;
    m_known.insert(column, text);
    if (this->text(column) == text)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->setEditText(text);
    else if (auto* date = qobject_cast<DateBox*>(widget))
        date->setText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        memo->setPlainText(text);
    else if (auto* check = qobject_cast<QCheckBox*>(widget))
        check->setChecked(isYes(text));
}

void FormBoxes::copyRow(const Query* query)
{
    const bool none = query->isEmpty() || query->currentRow() < 0;
    for (const FormBox& box : m_boxes) {
        const int column = query->columnIndex(box.column);
        if (column < 0)
            continue;
        setText(box.column, none ? QString() : query->field(query->currentRow(), column).asText());
    }
}

void FormBoxes::reset(const QHash<QString, QString>& texts, const QStringList& keep)
{
    for (const FormBox& box : m_boxes)
        if (!keep.contains(box.column))
            setText(box.column, texts.value(box.column));
}

SqlRow FormBoxes::row(const QString& table, const QStringList& columns,
                      const QHash<QString, SqlRow::EmptyNumber>& whenEmpty) const
{
    SqlRow row(table);
    for (const FormBox& box : m_boxes) {
        if (!columns.isEmpty() && !columns.contains(box.column))
            continue;
        row.set(box.column, text(box.column), box.label,
                whenEmpty.value(box.column, SqlRow::EmptyNumber::Null));
    }
    return row;
}
