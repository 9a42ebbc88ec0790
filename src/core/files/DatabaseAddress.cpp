#include "core/files/DatabaseAddress.h"

using namespace Qt::StringLiterals;

namespace DatabaseAddress {

bool isServer(const QString& path) {
    return path.startsWith(u"postgresql://"_s, Qt::CaseInsensitive) ||
           path.startsWith(u"postgres://"_s, Qt::CaseInsensitive);
}

} // namespace DatabaseAddress
