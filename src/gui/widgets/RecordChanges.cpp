#include "gui/widgets/RecordChanges.h"

RecordChanges& RecordChanges::instance() {
    static RecordChanges value;
    return value;
}
