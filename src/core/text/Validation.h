#pragma once

#include <QString>
#include <cstdint>

// Text helpers every window leans on: accents to HTML, quotes for SQL, key and file-name filters.

// Accented letters become HTML entities and line breaks become markup; alignment 1..4 wraps the
// result in a paragraph (left, center, right, justify), any other value adds no wrapper.
QString validatedHtml(const QString& text, std::int32_t& alignment, bool nonBreakingSpaces,
                      bool noWrap);

// The entity validatedHtml writes for `c` ("&eacute;" for é), or an empty string when it writes
// the character itself.
const QString& htmlEntityOf(char16_t c);

// True when the text is not empty and holds none of the forbidden file-name characters.
bool isValidFileName(const QString& text);

// Key filters: set the key code to 0 to swallow the keystroke.
void filterTextKey(std::int16_t& keyCode);
void filterNumberKey(std::int16_t& keyCode);

// Doubles every single quote, so user text can stand inside a quoted SQL literal.
QString quotesDoubled(const QString& text);
