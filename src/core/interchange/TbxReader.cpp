#include "core/interchange/TbxReader.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

enum class Language { English, French, Other, Unknown };

Language languageOf(const QString& tag) {
    const QString code = tag.section(u'-', 0, 0).section(u'_', 0, 0).trimmed().toLower();
    if (code == u"en"_s) {
        return Language::English;
    }
    if (code == u"fr"_s) {
        return Language::French;
    }
    return code.isEmpty() ? Language::Unknown : Language::Other;
}

void append(QString& to, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    if (!to.isEmpty()) {
        to += u"\r\n"_s;
    }
    to += text;
}

// Dates as TBX writes them: a date, or a date and time (a zone, when given, is honoured).
QDateTime parseDate(const QString& text) {
    const QString t = text.trimmed();
    QDateTime value = QDateTime::fromString(t, Qt::ISODate);
    if (!value.isValid()) {
        const QDate day = QDate::fromString(t.left(10), Qt::ISODate);
        if (day.isValid()) {
            value = QDateTime(day, QTime(0, 0));
        }
    }
    return value.isValid() ? value.toLocalTime() : QDateTime();
}

class Reader {
public:
    explicit Reader(QIODevice& device) : m_xml(&device) {}

    TermFile read() {
        bool root = true;
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD) {
                if (!m_xml.entityDeclarations().isEmpty()) {
                    return fail(u"le fichier déclare des entités, ce qui n’est pas accepté"_s);
                }
            } else if (token == QXmlStreamReader::EntityReference) {
                return fail(u"le fichier fait appel à l’entité « "_s + m_xml.name().toString() +
                            u" », qui n’est pas acceptée"_s);
            } else if (token == QXmlStreamReader::StartElement) {
                if (root) {
                    root = false;
                    const auto name = m_xml.name();
                    if (name != u"tbx"_s && name != u"martif"_s) {
                        return fail(u"ce n’est pas un fichier TBX"_s);
                    }
                }
                startElement();
            } else if (token == QXmlStreamReader::EndElement) {
                endElement();
            }
        }
        if (!m_badEntity.isEmpty()) {
            return fail(u"le fichier fait appel à l’entité « "_s + m_badEntity +
                            u" », qui n’est pas acceptée"_s,
                        m_badEntityLine);
        }
        if (m_xml.hasError()) {
            return fail(u"XML mal formé : "_s + m_xml.errorString());
        }
        if (root) {
            return fail(u"ce n’est pas un fichier TBX"_s);
        }
        return std::move(m_file);
    }

private:
    TermFile fail(const QString& reason, qint64 line = -1) {
        TermFile file;
        file.error = u"Ligne "_s + QString::number(line < 0 ? m_xml.lineNumber() : line) +
                     u" : "_s + reason + u"."_s;
        return file;
    }

    QString attribute(const QString& name) const {
        for (const auto& a : m_xml.attributes()) {
            if (a.qualifiedName() == name) {
                return a.value().toString();
            }
        }
        return {};
    }

    // The element's text, its children's included (as `hi` in a term). An entity the document
    // does not declare stops the reading: readElementText would pass it over in silence.
    QString text() {
        QString out;
        int depth = 1;
        while (depth > 0 && !m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::Characters:
                out += m_xml.text();
                break;
            case QXmlStreamReader::StartElement:
                ++depth;
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            case QXmlStreamReader::EntityReference:
                m_badEntity = m_xml.name().toString();
                m_badEntityLine = m_xml.lineNumber();
                m_xml.raiseError();
                return {};
            default:
                break;
            }
        }
        return out.trimmed();
    }

    void startElement() {
        const QString name = m_xml.name().toString();
        if (name == u"conceptEntry"_s || name == u"termEntry"_s) {
            m_entry = TermEntry();
            const QString id = attribute(u"id"_s);
            m_entry.label = id.isEmpty() ? u"ligne "_s + QString::number(m_xml.lineNumber()) : id;
            m_inEntry = true;
            m_unknownLanguage = false;
            return;
        }
        if (!m_inEntry) {
            return;
        }
        if (name == u"langSec"_s || name == u"langSet"_s) {
            const QString tag = attribute(u"xml:lang"_s);
            m_language = languageOf(tag);
            if (m_language == Language::Other) {
                m_file.otherLanguages.insert(tag.trimmed());
            } else if (m_language == Language::Unknown) {
                m_unknownLanguage = true;
            }
        } else if (name == u"transacGrp"_s) {
            m_transacType.clear();
            m_transacDate = QDateTime();
            m_transacAuthor.clear();
        } else if (name == u"term"_s) {
            const QString term = text();
            if (term.isEmpty()) {
                return;
            }
            if (m_language == Language::English) {
                m_entry.english << term;
            } else if (m_language == Language::French) {
                m_entry.french << term;
            }
        } else {
            // DCA names the data category in `type`; DCT by the element itself.
            const bool dca = name == u"descrip"_s || name == u"admin"_s || name == u"transac"_s ||
                             name == u"transacNote"_s;
            dataCategory(dca ? attribute(u"type"_s) : name);
        }
    }

    void dataCategory(const QString& type) {
        if (type == u"subjectField"_s) {
            const QString domain = text();
            if (m_entry.domain.isEmpty()) {
                m_entry.domain = domain;
            }
        } else if (type == u"definition"_s) {
            append(m_entry.definition, text());
        } else if (type == u"note"_s) {
            append(m_entry.observation, text());
        } else if (type == u"source"_s) {
            append(m_entry.source, text());
        } else if (type == u"transactionType"_s) {
            m_transacType = text();
        } else if (type == u"responsibility"_s) {
            m_transacAuthor = text();
        } else if (type == u"date"_s) {
            m_transacDate = parseDate(text());
        }
    }

    void endElement() {
        const auto name = m_xml.name();
        if (name == u"langSec"_s || name == u"langSet"_s) {
            m_language = Language::Unknown;
        } else if (name == u"transacGrp"_s && m_inEntry) {
            if ((m_transacType == u"origination"_s || m_transacType == u"creation"_s) &&
                !m_entry.created.isValid() && m_entry.createdBy.isEmpty()) {
                m_entry.created = m_transacDate;
                m_entry.createdBy = m_transacAuthor;
            } else if (m_transacType == u"modification"_s) {
                m_entry.modified = m_transacDate;
                m_entry.modifiedBy = m_transacAuthor;
            }
        } else if ((name == u"conceptEntry"_s || name == u"termEntry"_s) && m_inEntry) {
            if (m_entry.english.isEmpty() || m_entry.french.isEmpty()) {
                m_entry.refusal = m_unknownLanguage
                                      ? u"section de langue sans langue connue"_s
                                      : (m_entry.english.isEmpty() ? u"aucun terme anglais"_s
                                                                   : u"aucun terme français"_s);
            } else if (m_unknownLanguage) {
                m_entry.notes
                    << u"une section de langue sans langue connue a été laissée de côté"_s;
            }
            m_file.entries << m_entry;
            m_inEntry = false;
        }
    }

    QXmlStreamReader m_xml;
    QString m_badEntity;
    qint64 m_badEntityLine = 0;
    TermFile m_file;
    TermEntry m_entry;
    bool m_inEntry = false;
    bool m_unknownLanguage = false;
    Language m_language = Language::Unknown;
    QString m_transacType;
    QDateTime m_transacDate;
    QString m_transacAuthor;
};

} // namespace

TermFile readTbx(QIODevice& device) {
    return Reader(device).read();
}
