#pragma once

#include "data/RowReader.h"

#include <QByteArray>
#include <QHash>
#include <QList>

class RowStore;

// A text searched for anywhere in some columns of loaded rows, letter case ignored, every
// character as itself. The rows' texts are case-folded once, into one block per column, and
// kept until the rows change; each search then only compares bytes.
class TextSearch
{
public:
    // A text case-folded as the rows' texts are: plain ASCII at once, other letters by
    // Unicode's folding.
    static QByteArray fold(const QString& text);

    // Forgets the folded texts (the rows changed).
    void clear() { m_columns.clear(); }
    // Of order (stored row numbers), those whose text in any of columns holds folded, in
    // order.
    QList<int> matching(const RowStore& rows, const QList<RowColumn>& kinds,
                        const QList<int>& columns, const QList<int>& order,
                        const QByteArray& folded);

private:
    // Texts folded to UTF-8 one after the other in one block, each row's from its start.
    struct Folded
    {
        QByteArray texts;
        QList<qsizetype> starts;
    };
    const Folded& column(const RowStore& rows, const QList<RowColumn>& kinds, int column);

    QHash<int, Folded> m_columns;
};
