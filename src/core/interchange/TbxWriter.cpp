#include "core/interchange/TbxWriter.h"

#include "core/AppError.h"

#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace {

// Midnight means a date alone: the form TBX-Basic expects, and what most records hold.
QString isoDate(const QDateTime& value) {
    if (value.time() == QTime(0, 0)) {
        return value.date().toString(Qt::ISODate);
    }
    return value.toString(u"yyyy-MM-dd'T'HH:mm:ss"_s);
}

// A reader turns a raw CR LF into LF, so each CR goes out as a character reference.
void characters(QXmlStreamWriter& xml, const QString& text) {
    const QStringList pieces = text.split(u'\r');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            xml.writeEntityReference(u"#13"_s);
        }
        if (!pieces.at(i).isEmpty()) {
            xml.writeCharacters(pieces.at(i));
        }
    }
}

void textElement(QXmlStreamWriter& xml, const QString& name, const QString& type,
                 const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    xml.writeStartElement(name);
    if (!type.isEmpty()) {
        xml.writeAttribute(u"type"_s, type);
    }
    characters(xml, text);
    xml.writeEndElement();
}

void transaction(QXmlStreamWriter& xml, const QString& kind, const QDateTime& date,
                 const QString& author) {
    if (!date.isValid() && author.isEmpty()) {
        return;
    }
    xml.writeStartElement(u"transacGrp"_s);
    textElement(xml, u"transac"_s, u"transactionType"_s, kind);
    textElement(xml, u"transacNote"_s, u"responsibility"_s, author);
    if (date.isValid()) {
        xml.writeTextElement(u"date"_s, isoDate(date));
    }
    xml.writeEndElement();
}

void languageSection(QXmlStreamWriter& xml, bool v3, const QString& language,
                     const QStringList& terms) {
    xml.writeStartElement(v3 ? u"langSec"_s : u"langSet"_s);
    xml.writeAttribute(u"xml:lang"_s, language);
    for (const QString& term : terms) {
        xml.writeStartElement(v3 ? u"termSec"_s : u"tig"_s);
        xml.writeStartElement(u"term"_s);
        characters(xml, term);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

} // namespace

QByteArray writeTbx(const QList<TermEntry>& entries, TermFormat format) {
    const bool v3 = format == TermFormat::Tbx3;
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    if (v3) {
        xml.writeStartElement(u"tbx"_s);
        xml.writeDefaultNamespace(u"urn:iso:std:iso:30042:ed-2"_s);
        xml.writeAttribute(u"type"_s, u"TBX-Basic"_s);
        xml.writeAttribute(u"style"_s, u"dca"_s);
    } else {
        xml.writeStartElement(u"martif"_s);
        xml.writeAttribute(u"type"_s, u"TBX-Basic"_s);
    }
    xml.writeAttribute(u"xml:lang"_s, u"fr"_s);
    xml.writeStartElement(v3 ? u"tbxHeader"_s : u"martifHeader"_s);
    xml.writeStartElement(u"fileDesc"_s);
    xml.writeStartElement(u"sourceDesc"_s);
    xml.writeTextElement(u"p"_s, u"Lexivar"_s);
    xml.writeEndElement();
    xml.writeEndElement();
    if (!v3) {
        xml.writeStartElement(u"encodingDesc"_s);
        xml.writeStartElement(u"p"_s);
        xml.writeAttribute(u"type"_s, u"XCSURI"_s);
        xml.writeCharacters(u"TBXBasicXCSV02.xcs"_s);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(u"text"_s);
    xml.writeStartElement(u"body"_s);
    for (const TermEntry& e : entries) {
        xml.writeStartElement(v3 ? u"conceptEntry"_s : u"termEntry"_s);
        xml.writeAttribute(u"id"_s, u"c"_s + e.label);
        textElement(xml, u"descrip"_s, u"subjectField"_s, e.domain);
        textElement(xml, u"descrip"_s, u"definition"_s, e.definition);
        textElement(xml, u"note"_s, {}, e.observation);
        textElement(xml, u"admin"_s, u"source"_s, e.source);
        transaction(xml, u"origination"_s, e.created, e.createdBy);
        transaction(xml, u"modification"_s, e.modified, e.modifiedBy);
        languageSection(xml, v3, u"en"_s, e.english);
        languageSection(xml, v3, u"fr"_s, e.french);
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    if (xml.hasError()) {
        throw AppError(ErrorNumber::InvalidCall,
                       u"Une fiche contient un caractère qu’un fichier TBX ne peut pas porter."_s);
    }
    return bytes;
}
