#pragma once

#include "core/db/DatabaseLocation.h"
#include "core/search/ColumnDescriptor.h"

#include <QString>
#include <cstdint>
#include <memory>

class ListView;
class QWidget;

namespace ListFiller {

// Fills the list from a SELECT: one row per record, the first column through the record-number
// format, the others through the column list's descriptors when one matches. Returns the number
// of records listed (0 when none, or when the query could not run, after one error box).
std::int32_t fill(ListView& list, const DatabaseLocation& location, const QString& query,
                  QWidget& caller, const QString& title, const ColumnList* colDisplay);

// Fits each column to its widest text, header included, plus 250 twips.
void resizeColumns(ListView& list, QWidget& caller);

// A header click: sort by that column (counted from 1), the direction flipping at every click.
void sortByColumn(ListView& list, std::int16_t column);

// Empties and releases a column list; the reference is empty afterwards.
void destroyColumns(std::unique_ptr<ColumnList>& list);

} // namespace ListFiller
