#pragma once

#include <QByteArray>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

// The rows a query loaded, packed one after the other in one block of memory: a null, a whole
// number, a number with decimals or a text (kept as UTF-8) per cell. Ten years of invoices
// take a fraction of what a variant per cell would, and are loaded without an allocation per
// cell.
class RowStore
{
public:
    enum class Type : std::uint8_t
    {
        Null,
        Integer,
        Real,
        Text
    };

    // One cell as stored; text points into the store and lives as long as it is unchanged.
    struct Cell
    {
        Type type = Type::Null;
        std::int64_t integer = 0;
        double real = 0;
        const char* text = nullptr;
        int size = 0;
    };

    explicit RowStore(int columns = 0);

    void clear(int columns);
    int columnCount() const { return m_columns; }
    int rowCount() const { return int(m_starts.size()); }

    // A row is added cell by cell, its cells in column order after beginRow().
    void beginRow();
    void addNull();
    void addInteger(std::int64_t value);
    void addReal(double value);
    void addText(const char* utf8, int size);
    void addVariant(const QVariant& value);

    // The hidden key of the row being added, and of a stored row (0 when the statement did
    // not read one).
    void setKey(std::int64_t key);
    std::int64_t key(int row) const
    {
        return row >= 0 && std::size_t(row) < m_keys.size() ? m_keys[std::size_t(row)] : 0;
    }

    Cell cell(int row, int column) const;
    // The cell as a variant: qlonglong, double, QString or null.
    QVariant value(int row, int column) const;

private:
    // Room for size more bytes of the row being added; a row never straddles two blocks.
    char* room(std::size_t size);
    void put(const void* bytes, std::size_t size);

    struct Block
    {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t used = 0;
    };

    int m_columns = 0;
    // Blocks grow from a few kilobytes (a sum) to 64 KiB, so that neither a small nor a large
    // result is copied as it grows.
    std::vector<Block> m_blocks;
    // Where each row starts: its block in the high half, its offset in the low half.
    std::vector<std::uint64_t> m_starts;
    std::vector<std::int64_t> m_keys;
};
