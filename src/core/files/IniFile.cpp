#include "core/files/IniFile.h"

#include "core/text/Cp1252.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kCrLf = "\r\n";

QString unquoted(const QString& v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        return v.mid(1, v.size() - 2);
    }
    return v;
}

} // namespace

IniFile IniFile::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return parse(f.readAll());
}

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') {
            ++end;
        }
        qsizetype next = end;
        if (next < bytes.size() && bytes[next] == '\r') {
            ++next;
        }
        if (next < bytes.size() && bytes[next] == '\n') {
            ++next;
        }
        ini.m_lines.push_back({bytes.mid(start, end - start), bytes.mid(end, next - end)});
        start = next;
    }
    return ini;
}

IniFile::Parsed IniFile::parseLine(const QByteArray& raw) {
    const QString line = Cp1252::decode(raw).trimmed();
    Parsed p;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        if (close > 0) {
            p.kind = Parsed::Section;
            p.name = line.mid(1, close - 1).trimmed();
        }
        return p;
    }
    if (line.startsWith(u';')) {
        return p;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq > 0) {
        p.kind = Parsed::Entry;
        p.name = line.left(eq).trimmed();
        p.value = unquoted(line.mid(eq + 1).trimmed());
    }
    return p;
}

std::optional<std::pair<int, int>> IniFile::sectionRange(const QString& section) const {
    const int n = static_cast<int>(m_lines.size());
    for (int i = 0; i < n; ++i) {
        const Parsed p = parseLine(m_lines[i].raw);
        if (p.kind != Parsed::Section || p.name.compare(section, Qt::CaseInsensitive) != 0) {
            continue;
        }
        int end = i + 1;
        while (end < n && parseLine(m_lines[end].raw).kind != Parsed::Section) {
            ++end;
        }
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    for (const auto& [name, value] : entries(section)) {
        if (name.compare(key, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> IniFile::entries(const QString& section) const {
    std::vector<std::pair<QString, QString>> out;
    const auto range = sectionRange(section);
    if (!range) {
        return out;
    }
    for (int i = range->first; i < range->second; ++i) {
        const Parsed p = parseLine(m_lines[i].raw);
        if (p.kind == Parsed::Entry) {
            out.emplace_back(p.name, p.value);
        }
    }
    return out;
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const auto entryBytes = Cp1252::encode(key + u"="_s + value);
    const auto sectionBytes = Cp1252::encode(u"["_s + section + u"]"_s);
    if (!entryBytes || !sectionBytes) {
        return false;
    }
    const auto range = sectionRange(section);
    if (!range) {
        endLastLine();
        m_lines.push_back({*sectionBytes, kCrLf});
        m_lines.push_back({*entryBytes, kCrLf});
        return true;
    }
    int insertAt = range->first;
    for (int i = range->first; i < range->second; ++i) {
        const Parsed p = parseLine(m_lines[i].raw);
        if (p.kind == Parsed::Entry && p.name.compare(key, Qt::CaseInsensitive) == 0) {
            m_lines[i].raw = *entryBytes;
            return true;
        }
        if (!m_lines[i].raw.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (insertAt == static_cast<int>(m_lines.size())) {
        endLastLine();
    }
    m_lines.insert(m_lines.begin() + insertAt, Line{*entryBytes, kCrLf});
    return true;
}

void IniFile::endLastLine() {
    if (!m_lines.empty() && m_lines.back().ending.isEmpty()) {
        m_lines.back().ending = kCrLf;
    }
}

QByteArray IniFile::bytes() const {
    QByteArray out;
    for (const auto& l : m_lines) {
        out += l.raw;
        out += l.ending;
    }
    return out;
}
