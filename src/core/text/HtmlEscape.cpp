#include "core/text/HtmlEscape.h"

using namespace Qt::StringLiterals;

QString htmlEscaped(const QString& text) {
    qsizetype first = 0;
    while (first < text.size() && text[first] != u'<' && text[first] != u'>' &&
           text[first] != u'&') {
        ++first;
    }
    if (first == text.size()) {
        return text; // most texts: shared, not copied
    }
    QString out = text.left(first);
    out.reserve(text.size() + 16);
    for (qsizetype i = first; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<') {
            out += u"&lt;"_s;
        } else if (c == u'>') {
            out += u"&gt;"_s;
        } else if (c == u'&') {
            out += u"&amp;"_s;
        } else {
            out += c;
        }
    }
    return out;
}
