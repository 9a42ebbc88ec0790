#pragma once

#include <QString>

// The user's short-date picture (day, month and year letters with separators), e.g. "dd/MM/yyyy".
QString shortDateFormat();
