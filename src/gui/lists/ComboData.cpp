#include "gui/lists/ComboData.h"

#include <QComboBox>

std::int32_t indexOfItemData(const QComboBox& list, std::int32_t value) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemData(i).toInt() == value) {
            return i;
        }
    }
    return -1;
}
