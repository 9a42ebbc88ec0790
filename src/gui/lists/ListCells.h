#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// The texts of a list, column by column: each column's texts end to end in one buffer, with
// where each ends. A hundred thousand rows are then a few allocations instead of a million
// strings, so building and freeing them is cheap. Copies share the columns until one of them
// changes, so a copy stays valid whatever happens to the list it came from.
class ListCells {
public:
    ListCells() = default;
    explicit ListCells(int columns);

    int columnCount() const { return static_cast<int>(m_columns.size()); }
    // Rows complete in every column.
    int rowCount() const;

    // Room for this many rows in every column.
    void reserve(int rows);
    // Adds a text at the end of a column; fill the columns of a row before the next row.
    void append(int column, QStringView text) {
        std::shared_ptr<Column>& c = m_columns[static_cast<size_t>(column)];
        if (c.use_count() > 1) {
            c = std::make_shared<Column>(*c);
        }
        c->append(text);
    }

    // The same from UTF-8, decoded straight into the column: no string is made on the way.
    void appendUtf8(int column, QByteArrayView utf8) {
        std::shared_ptr<Column>& c = m_columns[static_cast<size_t>(column)];
        if (c.use_count() > 1) {
            c = std::make_shared<Column>(*c);
        }
        c->appendUtf8(utf8);
    }

    // A text by its row in the order the rows were given; it lives as long as this object.
    QStringView view(int row, int column) const {
        return m_columns[static_cast<size_t>(column)]->at(static_cast<size_t>(row));
    }
    QString text(int row, int column) const { return view(row, column).toString(); }

private:
    // One column's texts, grown with realloc: a large buffer then moves without being copied.
    class Column {
    public:
        Column() = default;
        Column(const Column& other);
        Column& operator=(const Column&) = delete;
        ~Column();

        size_t rows() const { return m_ends.size(); }
        void reserve(size_t rows) { m_ends.reserve(rows); }
        void append(QStringView text) {
            const size_t n = static_cast<size_t>(text.size());
            if (m_capacity - m_size < n) {
                grow(n);
            }
            if (n > 0) {
                std::memcpy(m_text + m_size, text.utf16(), n * sizeof(char16_t));
            }
            m_size += n;
            // 32 bits: a column would need 8 GiB of text to overflow.
            m_ends.push_back(static_cast<std::uint32_t>(m_size));
        }
        void appendUtf8(QByteArrayView utf8);
        QStringView at(size_t row) const {
            const size_t begin = row > 0 ? m_ends[row - 1] : 0;
            return QStringView(m_text + begin, static_cast<qsizetype>(m_ends[row] - begin));
        }

    private:
        void grow(size_t more);

        char16_t* m_text = nullptr;
        size_t m_size = 0;
        size_t m_capacity = 0;
        std::vector<std::uint32_t> m_ends;
    };

    std::vector<std::shared_ptr<Column>> m_columns;
};
