#pragma once

#include "data/Query.h"
#include "data/RowStore.h"

#include <unordered_map>

// What a query read a screen at a time keeps: the read, its order, its count and the pages
// of rows read so far.
struct Query::Paging
{
    struct Key
    {
        QString column;
        bool descending = false;
    };
    struct Page
    {
        RowStore rows;
        // Where each row of the page is among rows (-1: gone since the list was counted).
        QList<int> stored;
        quint64 used = 0;
    };

    // A sort text ("Col", "Col DESC", several separated by commas) as keys.
    static QList<Key> keys(const QString& spec);

    TableRead read;
    QList<Key> order;
    int count = 0;
    std::unordered_map<int, Page> pages;
    quint64 clock = 0;

    // The read's condition and extra, joined, after " Where" (nothing for neither).
    QString where(const QString& extra = {}) const;
    // The list's order and, last, the order rows were added in; turned round for reversed.
    QString orderBy(bool reversed) const;
    // The rows before the row whose sort values are given, in the list's order, as a
    // condition; values receives the values it binds.
    QString before(const QVariantList& sortValues, qint64 key, QVariantList& values) const;
    // The rows before a row that sorts after every empty value, going up on one column: one
    // range of the column's index (the empty values are counted on their own).
    bool oneRange(const QVariantList& sortValues) const
    {
        return order.size() == 1 && !order.first().descending && !sortValues.first().isNull();
    }
};
