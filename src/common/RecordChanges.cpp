#include "RecordChanges.h"

RecordChanges& RecordChanges::instance() {
    static RecordChanges value;
    return value;
}
