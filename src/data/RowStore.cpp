#include "data/RowStore.h"

#include <algorithm>
#include <cstring>

namespace {
// A text's length before its bytes: one byte below 255, else a marker and four bytes.
constexpr std::uint8_t longText = 0xff;
constexpr std::size_t firstBlock = 4096;
// Below the size the C library maps afresh from the system each time, so that memory freed by
// one list is used again by the next without new page faults.
constexpr std::size_t largestBlock = std::size_t(64) << 10;
} // namespace

RowStore::RowStore(int columns)
    : m_columns(columns)
{}

void RowStore::clear(int columns)
{
    m_columns = columns;
    // Memory goes back with the rows: a list of every invoice is not kept for the next one.
    std::vector<Block>().swap(m_blocks);
    std::vector<std::uint64_t>().swap(m_starts);
    std::vector<std::int64_t>().swap(m_keys);
}

char* RowStore::room(std::size_t size)
{
    if (!m_blocks.empty() && m_blocks.back().used + size <= m_blocks.back().size) {
        Block& block = m_blocks.back();
        char* at = block.bytes.get() + block.used;
        block.used += size;
        return at;
    }
    // A new block takes the row begun so far along with it.
    const std::uint64_t start = m_starts.back();
    const std::size_t begun =
        m_blocks.empty() ? 0 : m_blocks.back().used - std::size_t(start & 0xffffffffu);
    const std::size_t previous = m_blocks.empty() ? 0 : m_blocks.back().size;
    Block block;
    block.size = std::max(std::min(std::max(previous * 2, firstBlock), largestBlock), begun + size);
    block.bytes.reset(new char[block.size]); // left unset: every byte used is written
    if (begun > 0) {
        Block& old = m_blocks.back();
        std::memcpy(block.bytes.get(), old.bytes.get() + (start & 0xffffffffu), begun);
        old.used -= begun;
    }
    block.used = begun + size;
    m_blocks.push_back(std::move(block));
    m_starts.back() = std::uint64_t(m_blocks.size() - 1) << 32;
    return m_blocks.back().bytes.get() + begun;
}

void RowStore::put(const void* bytes, std::size_t size)
{
    std::memcpy(room(size), bytes, size);
}

void RowStore::setKey(std::int64_t key)
{
    // Kept only for results that carry a key: the rows before were read with theirs.
    m_keys.resize(m_starts.size(), 0);
    m_keys.back() = key;
}

void RowStore::beginRow()
{
    m_starts.push_back(
        m_blocks.empty() ? 0 : (std::uint64_t(m_blocks.size() - 1) << 32) | m_blocks.back().used);
}

void RowStore::addNull()
{
    *room(1) = char(Type::Null);
}

void RowStore::addInteger(std::int64_t value)
{
    char* at = room(1 + sizeof value);
    *at = char(Type::Integer);
    std::memcpy(at + 1, &value, sizeof value);
}

void RowStore::addReal(double value)
{
    char* at = room(1 + sizeof value);
    *at = char(Type::Real);
    std::memcpy(at + 1, &value, sizeof value);
}

void RowStore::addText(const char* utf8, int size)
{
    const std::uint32_t length = std::uint32_t(size);
    const bool longer = length >= longText;
    char* at = room(2 + (longer ? sizeof length : 0) + length);
    *at++ = char(Type::Text);
    *at++ = char(longer ? longText : std::uint8_t(length));
    if (longer) {
        std::memcpy(at, &length, sizeof length);
        at += sizeof length;
    }
    if (length > 0)
        std::memcpy(at, utf8, length);
}

void RowStore::addVariant(const QVariant& value)
{
    if (value.isNull() || !value.isValid()) {
        addNull();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        addInteger(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        addReal(value.toDouble());
        return;
    default:
        break;
    }
    const QByteArray text = value.toString().toUtf8();
    addText(text.constData(), int(text.size()));
}

RowStore::Cell RowStore::cell(int row, int column) const
{
    const std::uint64_t start = m_starts.at(std::size_t(row));
    const char* at = m_blocks[std::size_t(start >> 32)].bytes.get() + (start & 0xffffffffu);
    Cell cell;
    for (int c = 0;; ++c) {
        cell.type = Type(std::uint8_t(*at++));
        switch (cell.type) {
        case Type::Null:
            break;
        case Type::Integer:
            if (c == column)
                std::memcpy(&cell.integer, at, sizeof cell.integer);
            at += sizeof cell.integer;
            break;
        case Type::Real:
            if (c == column)
                std::memcpy(&cell.real, at, sizeof cell.real);
            at += sizeof cell.real;
            break;
        case Type::Text: {
            std::uint32_t size = std::uint8_t(*at++);
            if (size == longText) {
                std::memcpy(&size, at, sizeof size);
                at += sizeof size;
            }
            cell.text = at;
            cell.size = int(size);
            at += size;
            break;
        }
        }
        if (c == column)
            return cell;
    }
}

QVariant RowStore::value(int row, int column) const
{
    const Cell c = cell(row, column);
    switch (c.type) {
    case Type::Null:
        return QVariant();
    case Type::Integer:
        return QVariant(qlonglong(c.integer));
    case Type::Real:
        return QVariant(c.real);
    case Type::Text:
        return QVariant(QString::fromUtf8(c.text, c.size));
    }
    return QVariant();
}
