#include "Notices.h"

Notices& Notices::instance() {
    static Notices value;
    return value;
}
