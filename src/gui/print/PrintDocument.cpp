#include "gui/print/PrintDocument.h"

#include "core/AppError.h"
#include "core/files/FileIo.h"
#include "gui/dialogs/Dialogs.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

PrintDocument::PrintDocument(QWidget* window)
    : QObject(window), m_window(window), m_printer(QPrinter::HighResolution) {}

void PrintDocument::navigate(const QString& address) {
    QString reported = address;
    if (address.isEmpty()) {
        m_document.clear();
        reported = QString::fromLatin1(kEmptyAddress);
    } else {
        // The reports are ISO-8859-1, as they declare.
        m_document.setHtml(QString::fromLatin1(FileIo::readAll(address)));
        layOutAsABrowser();
    }
    QTimer::singleShot(0, this, [this, reported] { emit loaded(reported); });
}

namespace {

// Below this share of the table's width, a justified cell is set flush left: a browser never
// spreads the letters of a lone word, which is all a narrow cell's line often holds.
constexpr double kNarrowColumnPercent = 50;

bool narrowColumn(const QTextTable& table, int column) {
    const QList<QTextLength> widths = table.format().columnWidthConstraints();
    return column < widths.size() && widths[column].type() == QTextLength::PercentageLength &&
           widths[column].rawValue() < kNarrowColumnPercent;
}

// A rule written right after a table lands in the block that follows the table, which the
// layout sets beside the table's last cell: the rule gets a block of its own below.
void moveRuleBelow(QTextDocument& document, const QTextTable& table) {
    const QTextBlock after = document.findBlock(table.lastPosition() + 1);
    if (!after.isValid() ||
        !after.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
        return;
    }
    QTextCursor(after).insertBlock();
    const QTextBlock beside = document.findBlock(table.lastPosition() + 1);
    QTextBlockFormat plain = beside.blockFormat();
    plain.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
    QTextCursor(beside).setBlockFormat(plain);
}

} // namespace

void PrintDocument::layOutAsABrowser() {
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    m_document.setDefaultTextOption(option);
    std::vector<QTextTable*> tables;
    for (QTextFrame* frame : m_document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            tables.push_back(table);
        }
    }
    for (QTextTable* table : tables) {
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                if (!narrowColumn(*table, column)) {
                    continue;
                }
                const QTextTableCell cell = table->cellAt(row, column);
                for (QTextBlock b = m_document.findBlock(cell.firstPosition());
                     b.isValid() && b.position() <= cell.lastPosition(); b = b.next()) {
                    if (b.blockFormat().alignment() & Qt::AlignJustify) {
                        QTextBlockFormat left = b.blockFormat();
                        left.setAlignment(Qt::AlignLeft);
                        QTextCursor(b).setBlockFormat(left);
                    }
                }
            }
        }
        moveRuleBelow(m_document, *table);
    }
}

bool PrintDocument::print() {
    if (!Dialogs::get().printDialog(m_printer, m_window)) {
        return false;
    }
    m_document.print(&m_printer);
    return true;
}

void PrintDocument::pageSetup() {
    Dialogs::get().pageSetupDialog(m_printer, m_window);
}
