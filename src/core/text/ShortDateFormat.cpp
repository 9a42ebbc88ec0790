#include "core/text/ShortDateFormat.h"

#include "core/AppError.h"
#include "core/ErrorReporter.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QString shortDateFormat() {
    // QLocale() is the system locale unless a test set another default. The C/POSIX locale
    // states no preference: its "d MMM yyyy" is English, so the ISO form stands in.
    if (QLocale().language() == QLocale::C) {
        return u"yyyy-MM-dd"_s;
    }
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (format.isEmpty()) {
        reportError(u"sGetDateFormat"_s, ErrorNumber::InvalidCall,
                    u"Le format de date abrégé des paramètres régionaux est introuvable."_s);
    }
    return format;
}
