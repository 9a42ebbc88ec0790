#include "SpoolFile.h"

#include "common/AppError.h"
#include "storage/FileIo.h"

SpoolFile::SpoolFile(const QString& path) : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw FileIo::accessError(path);
    }
}

QByteArray SpoolFile::encode(const QString& text) {
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

void SpoolFile::line(const QString& text, int indent) {
    const QByteArray bytes = QByteArray(indent, ' ') + encode(text) + "\r\n";
    if (m_file.write(bytes) != bytes.size()) {
        throw FileIo::accessError(m_file.fileName());
    }
}

void SpoolFile::close() {
    if (m_file.isOpen() && !m_file.flush()) {
        m_file.close();
        throw FileIo::accessError(m_file.fileName());
    }
    m_file.close();
}
