#pragma once

#include <cstdint>

class QComboBox;

// The position (from 0) of the first entry whose item value is `value`, or -1.
std::int32_t indexOfItemData(const QComboBox& list, std::int32_t value);
