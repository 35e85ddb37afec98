#include "data/TextSearch.h"

#include "data/Field.h"
#include "data/RowStore.h"

namespace {
void appendFolded(QByteArray& to, const char* utf8, qsizetype size)
{
    bool ascii = true;
    for (qsizetype i = 0; i < size && ascii; ++i)
        ascii = static_cast<unsigned char>(utf8[i]) < 0x80;
    if (!ascii) {
        to.append(QString::fromUtf8(utf8, size).toCaseFolded().toUtf8());
        return;
    }
    const qsizetype at = to.size();
    to.append(utf8, size);
    char* bytes = to.data() + at;
    for (qsizetype i = 0; i < size; ++i)
        if (bytes[i] >= 'A' && bytes[i] <= 'Z')
            bytes[i] = char(bytes[i] + ('a' - 'A'));
}
} // namespace

QByteArray TextSearch::fold(const QString& text)
{
    QByteArray folded;
    const QByteArray utf8 = text.toUtf8();
    appendFolded(folded, utf8.constData(), utf8.size());
    return folded;
}

const TextSearch::Folded& TextSearch::column(const RowStore& rows, const QList<RowColumn>& kinds,
                                             int column)
{
    auto found = m_columns.find(column);
    if (found != m_columns.end())
        return *found;
    Folded folded;
    const int count = rows.rowCount();
    folded.starts.reserve(count + 1);
    for (int row = 0; row < count; ++row) {
        folded.starts.append(folded.texts.size());
        const RowStore::Cell cell = rows.cell(row, column);
        if (cell.type == RowStore::Type::Text) {
            appendFolded(folded.texts, cell.text, cell.size);
        } else if (cell.type != RowStore::Type::Null) {
            // A number or a date is searched as the grid shows it.
            const QByteArray shown =
                Field(rows.value(row, column), kinds.at(column).kind).asText().toUtf8();
            appendFolded(folded.texts, shown.constData(), shown.size());
        }
    }
    folded.starts.append(folded.texts.size());
    return *m_columns.insert(column, folded);
}

QList<int> TextSearch::matching(const RowStore& rows, const QList<RowColumn>& kinds,
                                const QList<int>& columns, const QList<int>& order,
                                const QByteArray& folded)
{
    QList<const Folded*> texts;
    for (const int c : columns)
        texts.append(&column(rows, kinds, c));
    const QByteArrayView needle(folded);
    QList<int> kept;
    for (const int row : order) {
        for (const Folded* text : std::as_const(texts)) {
            const qsizetype start = text->starts.at(row);
            if (QByteArrayView(text->texts.constData() + start, text->starts.at(row + 1) - start)
                    .contains(needle)) {
                kept.append(row);
                break;
            }
        }
    }
    return kept;
}
