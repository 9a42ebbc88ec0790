#include "basDate.h"

#include "AppError.h"
#include "ErrorBox.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QString sGetDateFormat() {
    // QLocale() is the system locale unless a test set another default.
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (format.isEmpty()) {
        ShowErrorBox(u"sGetDateFormat"_s, ErrorNumber::InvalidCall,
                     u"Le format de date abrégé des paramètres régionaux est introuvable."_s);
    }
    return format;
}
