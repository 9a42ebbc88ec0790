#include "core/reports/SpoolFile.h"

#include "core/AppError.h"
#include "core/files/FileIo.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

SpoolFile::SpoolFile(const QString& path)
    : m_path(path), m_file(QFileInfo(path).absolutePath() + u"/.spool-XXXXXX"_s) {
    m_buffer.reserve(2 * kFlushSize);
    // Created new (0600, never through an existing name); removed unless close() succeeds.
    if (!m_file.open()) {
        throw FileIo::accessError(path);
    }
}

QByteArray SpoolFile::encode(const QString& text) {
    bool latin1 = true;
    for (QChar c : text) {
        if (c.unicode() > 0xFF) {
            latin1 = false;
            break;
        }
    }
    if (latin1) {
        return text.toLatin1();
    }
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text.at(i).unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (code <= 0xFF) {
            out.append(static_cast<char>(code));
        } else {
            out.append("&#" + QByteArray::number(static_cast<uint>(code)) + ';');
        }
    }
    return out;
}

QByteArray SpoolFile::encodedLine(const QString& text, int indent) {
    return QByteArray(indent, ' ') + encode(text) + "\r\n";
}

void SpoolFile::append(const QByteArray& encodedLines) {
    m_buffer.append(encodedLines);
    if (m_buffer.size() >= kFlushSize) {
        flush();
    }
}

void SpoolFile::appendWith(const std::function<void(QByteArray&)>& fill) {
    fill(m_buffer);
    if (m_buffer.size() >= kFlushSize) {
        flush();
    }
}

void SpoolFile::line(const QString& text, int indent) {
    const qsizetype n = text.size();
    const char16_t* chars = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype start = m_buffer.size();
    // Straight into the buffer: a listing writes hundreds of thousands of lines.
    m_buffer.resize(start + indent + n + 2);
    char* out = m_buffer.data() + start;
    std::fill_n(out, indent, ' ');
    out += indent;
    qsizetype i = 0;
    for (; i < n && chars[i] <= 0xFF; ++i) {
        out[i] = static_cast<char>(chars[i]);
    }
    if (i < n) {
        // A character beyond ISO-8859-1: this line goes the slow way.
        m_buffer.resize(start);
        m_buffer.append(encodedLine(text, indent));
    } else {
        out[n] = '\r';
        out[n + 1] = '\n';
    }
    if (m_buffer.size() >= kFlushSize) {
        flush();
    }
}

void SpoolFile::flush() {
    if (m_file.write(m_buffer) != m_buffer.size()) {
        m_buffer.clear();
        throw FileIo::accessError(m_path);
    }
    // Emptied, its room kept: freeing it at every block made the heap shrink and grow again.
    m_buffer.resize(0);
}

void SpoolFile::close() {
    if (!m_file.isOpen()) {
        return;
    }
    flush();
    if (!m_file.flush()) {
        throw FileIo::accessError(m_path);
    }
    // rename() replaces whatever stands at the target, a link included, without following it.
    if (::rename(QFile::encodeName(m_file.fileName()).constData(),
                 QFile::encodeName(m_path).constData()) != 0) {
        throw FileIo::accessError(m_path);
    }
    m_file.setAutoRemove(false);
    m_file.close();
}
