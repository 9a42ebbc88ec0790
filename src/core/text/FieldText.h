#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <memory>

// Writes dates in the user's short date format, read once when the formatter is made: for
// callers that show many dates.
class ShortDateFormatter {
public:
    ShortDateFormatter();
    ~ShortDateFormatter();
    QString text(const QDateTime& value) const;
    // The date alone, whatever the time of day.
    QString dateOnly(const QDateTime& value) const;
    // A day number as text, without going through QDateTime (which reads the time zone).
    QString dayNumberText(double dayNumber) const;
    // Its date alone.
    QString dayNumberDate(double dayNumber) const;

private:
    static int splitDayNumber(double dayNumber, qint64& days);
    QString dayText(qint64 days) const;

    class Picture;
    std::unique_ptr<Picture> m_picture;
};

// A field value as the windows and reports show it: null as "", dates in the user's short date
// format with the time only when there is one, numbers in decimal.
QString fieldText(const QVariant& value);
QString dateText(const QDateTime& value);
// A date held as a day number (days since 30 December 1899, fraction = time of day).
QString dayNumberText(double dayNumber);
