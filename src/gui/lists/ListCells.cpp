#include "gui/lists/ListCells.h"

#include <algorithm>
#include <cstdlib>
#include <new>

ListCells::ListCells(int columns) {
    m_columns.reserve(static_cast<size_t>(std::max(columns, 0)));
    for (int c = 0; c < columns; ++c) {
        m_columns.push_back(std::make_shared<Column>());
    }
}

int ListCells::rowCount() const {
    if (m_columns.empty()) {
        return 0;
    }
    size_t rows = m_columns.front()->rows();
    for (const auto& c : m_columns) {
        rows = std::min(rows, c->rows());
    }
    return static_cast<int>(rows);
}

void ListCells::reserve(int rows) {
    for (auto& c : m_columns) {
        if (c.use_count() > 1) {
            c = std::make_shared<Column>(*c);
        }
        c->reserve(static_cast<size_t>(std::max(rows, 0)));
    }
}

ListCells::Column::Column(const Column& other) : m_ends(other.m_ends) {
    grow(other.m_size);
    if (other.m_size > 0) {
        std::memcpy(m_text, other.m_text, other.m_size * sizeof(char16_t));
    }
    m_size = other.m_size;
}

ListCells::Column::~Column() {
    std::free(m_text);
}

void ListCells::Column::grow(size_t more) {
    const size_t capacity = std::max({m_size + more, 2 * m_capacity, size_t{1024}});
    void* text = std::realloc(m_text, capacity * sizeof(char16_t));
    if (!text) {
        throw std::bad_alloc();
    }
    m_text = static_cast<char16_t*>(text);
    m_capacity = capacity;
}
