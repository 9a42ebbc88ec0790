#include "gui/lists/ListCells.h"

#include <QStringDecoder>
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

void ListCells::Column::appendUtf8(QByteArrayView utf8) {
    // A UTF-16 text never has more units than its UTF-8 form has bytes.
    const size_t n = static_cast<size_t>(utf8.size());
    if (m_capacity - m_size < n) {
        grow(n);
    }
    char16_t* out = m_text + m_size;
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto follows = [&](size_t at) { return at < n && (in[at] & 0xC0) == 0x80; };
    // As QString::fromUtf8 reads it: a byte order mark is dropped at the start only.
    size_t i = n >= 3 && in[0] == 0xEF && in[1] == 0xBB && in[2] == 0xBF ? 3 : 0;
    size_t written = 0;
    // ASCII and the two- and three-byte forms (every French letter) decoded here; anything
    // else, valid or not, from there on by Qt's decoder.
    while (i < n) {
        const unsigned char c = in[i];
        if (c < 0x80) {
            out[written++] = c;
            i += 1;
        } else if (c >= 0xC2 && c <= 0xDF && follows(i + 1)) {
            out[written++] = static_cast<char16_t>(((c & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
        } else if (c >= 0xE0 && c <= 0xEF && follows(i + 1) && follows(i + 2)) {
            const char16_t u = static_cast<char16_t>(
                ((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF)) {
                break; // overlong or a lone surrogate
            }
            out[written++] = u;
            i += 3;
        } else {
            break;
        }
    }
    if (i < n) {
        // A bad byte becomes U+FFFD; a byte order mark this far in is a character.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        const QChar* end =
            decoder.appendToBuffer(reinterpret_cast<QChar*>(out + written), utf8.sliced(i));
        written = static_cast<size_t>(reinterpret_cast<const char16_t*>(end) - out);
    }
    m_size += written;
    m_ends.push_back(static_cast<std::uint32_t>(m_size));
}
