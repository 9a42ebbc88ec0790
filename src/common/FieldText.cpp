#include "FieldText.h"

#include "VariantKind.h"
#include "basDate.h"

#include <QLocale>

using namespace Qt::StringLiterals;

QString sDateText(const QDateTime& value) {
    // The picture is read once: asking the locale for every cell of a long list costs.
    static thread_local QString format;
    static thread_local QLocale formatLocale(QLocale::C);
    if (format.isEmpty() || formatLocale != QLocale()) {
        formatLocale = QLocale();
        format = sGetDateFormat();
    }
    QString text = QLocale().toString(value.date(), format);
    if (value.time().msecsSinceStartOfDay() != 0) {
        text += u' ' + value.time().toString(u"HH:mm:ss"_s);
    }
    return text;
}

QString sFieldText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    if (value.typeId() == QMetaType::QDateTime) {
        return sDateText(value.toDateTime());
    }
    if (value.typeId() == QMetaType::QDate) {
        return sDateText(value.toDate().startOfDay());
    }
    if (IsIntegerValue(value)) {
        return QString::number(value.toLongLong());
    }
    if (IsFloatingValue(value)) {
        return QLocale().toString(value.toDouble(), 'g', 15);
    }
    return value.toString();
}
