#include "core/reports/ReportFixture.h"
#include "core/reports/ReportWriter.h"
#include "gui/TestSupport.h"
#include "gui/print/PrintDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPrinter>
#include <QTextBlock>
#include <QTextLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// What a reader of the printed page would object to, laid out on a page of this width.
struct Faults {
    QStringList brokenWords;
    QStringList spacedLetters;
    int shortRules = 0;
    int rules = 0;
};

Faults faultsOf(const QTextDocument& loaded, qreal pageWidth) {
    std::unique_ptr<QTextDocument> document(loaded.clone());
    document->setPageSize(QSizeF(pageWidth, 842));
    document->documentLayout()->documentSize(); // lays every block out
    Faults faults;
    const qreal textWidth = pageWidth - 2 * document->documentMargin();
    for (QTextBlock b = document->begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        const QTextLayout* layout = b.layout();
        for (int i = 0; i + 1 < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const QString shown = text.mid(line.textStart(), line.textLength());
            const qsizetype end = line.textStart() + line.textLength();
            if (!shown.isEmpty() && end < text.size() && !text[end - 1].isSpace() &&
                !text[end].isSpace()) {
                faults.brokenWords << text;
            } else if (b.blockFormat().alignment() & Qt::AlignJustify &&
                       !shown.trimmed().contains(u' ')) {
                faults.spacedLetters << text; // a lone word stretched to the line's width
            }
        }
        if (b.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
            ++faults.rules;
            const QRectF rect = document->documentLayout()->blockBoundingRect(b);
            if (rect.left() > 0.05 * textWidth || rect.width() < 0.9 * textWidth) {
                ++faults.shortRules;
            }
        }
    }
    return faults;
}

} // namespace

TEST_F(ReportTest, PrintDocumentBreaksNoWordAndRulesTheFullWidth) {
    IdentifierList ids;
    const struct {
        QString english;
        QString french;
        QString modifiedBy;
    } records[] = {
        {u"heart failure"_s, u"insuffisance cardiaque congestive"_s, QString()},
        {u"circuit breaker"_s, u"disjoncteur"_s, u"Administrateur démo"_s},
        {u"sore throat"_s, u"mal de gorge"_s, QString()},
    };
    for (const auto& r : records) {
        ids.push_back(static_cast<std::int32_t>(
            insertRow(u"Files"_s, {{u"English"_s, r.english},
                                   {u"French"_s, r.french},
                                   {u"DomainID"_s, domain},
                                   {u"Date"_s, QDate(2004, 3, 12)},
                                   {u"CreatedBy"_s, u"Administrateur démo"_s},
                                   {u"MODIFIEDBY"_s, r.modifiedBy},
                                   {u"DateModified"_s, QDate(2005, 6, 1)}})));
    }
    const struct {
        const char* name;
        bool (*generator)(const DatabaseLocation&, const IdentifierList&, const QString&,
                          const QString&);
        int rules;
    } listings[] = {{"short", writeShortListing, 0}, {"full", writeFullListing, 2}};
    QWidget window;
    for (const auto& listing : listings) {
        ASSERT_TRUE(listing.generator(location(dbPassword), ids, spool(), u"essai, 14:05:09"_s));
        PrintDocument document(&window);
        document.navigate(spool());
        for (qreal pageWidth : {595.0, 842.0}) { // portrait and landscape
            const Faults faults = faultsOf(document.document(), pageWidth);
            EXPECT_EQ(faults.brokenWords, QStringList()) << listing.name << pageWidth;
            EXPECT_EQ(faults.spacedLetters, QStringList()) << listing.name << pageWidth;
            EXPECT_EQ(faults.rules, listing.rules) << listing.name;
            EXPECT_EQ(faults.shortRules, 0) << listing.name << pageWidth;
        }
        // Printed as laid out; the documentation shows the short listing's page.
        const QString pdf = path(u"listing.pdf"_s);
        dialogs->printHandlers.push_back([&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        });
        ASSERT_TRUE(document.print());
        EXPECT_TRUE(readFile(pdf).startsWith("%PDF"));
        const QString keep = qEnvironmentVariable("LEXIVAR_KEEP_SHORT_PDF");
        if (!keep.isEmpty() && listing.generator == writeShortListing) {
            QFile::remove(keep);
            QFile::copy(pdf, keep);
        }
    }
}
