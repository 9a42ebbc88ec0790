#include "gui/widgets/Notices.h"

Notices& Notices::instance() {
    static Notices value;
    return value;
}
