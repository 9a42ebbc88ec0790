#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// A sectioned "[section]" / "key=value" text file in the single-byte code page. Lines it does not
// change are written back byte for byte, odd ones included.
class IniFile {
public:
    // A missing or unreadable file reads as empty.
    static IniFile load(const QString& path);
    static IniFile parse(const QByteArray& bytes);

    // Section and key names match without regard to case; the first match wins.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // Every key of the first matching section, in file order, names as written.
    std::vector<std::pair<QString, QString>> entries(const QString& section) const;

    // False (and nothing changed) when a text holds a character outside the code page.
    bool setValue(const QString& section, const QString& key, const QString& value);
    QByteArray bytes() const;

private:
    struct Line {
        QByteArray raw;
        QByteArray ending;
    };
    struct Parsed {
        enum Kind { Other, Section, Entry } kind = Other;
        QString name;
        QString value;
    };
    void endLastLine();
    static Parsed parseLine(const QByteArray& raw);
    // Index range [begin, end) of the first section named so, or nothing.
    std::optional<std::pair<int, int>> sectionRange(const QString& section) const;

    std::vector<Line> m_lines;
};
