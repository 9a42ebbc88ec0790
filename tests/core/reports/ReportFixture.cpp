#include "core/reports/ReportFixture.h"

#include "core/Clock.h"

#include <QLocale>

using namespace Qt::StringLiterals;

void ReportTest::SetUp() {
    SessionTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Clock::setNow(QDateTime(QDate(2006, 6, 15), QTime(14, 5, 9)));
    domain = addDomain(u"Électricité"_s);
}

void ReportTest::TearDown() {
    QLocale::setDefault(QLocale::system());
    SessionTest::TearDown();
}

qlonglong ReportTest::addRecord(const QString& english, const QString& french, qlonglong d) {
    return insertRow(u"Files"_s, {{u"English"_s, english},
                                  {u"French"_s, french},
                                  {u"AF"_s, u"CEI"_s},
                                  {u"DomainID"_s, d ? d : domain},
                                  {u"Date"_s, QDate(2004, 2, 3)},
                                  {u"CreatedBy"_s, u"Élise Gagnon"_s},
                                  {u"DateModified"_s, QDateTime(QDate(2005, 3, 4), QTime(9, 30))}});
}

QStringList ReportTest::spoolLines() const {
    QString text = QString::fromLatin1(readFile(spool()));
    EXPECT_TRUE(text.endsWith(u"\r\n"_s));
    text.chop(2);
    return text.split(u"\r\n"_s);
}

QStringList ReportTest::body() const {
    const QStringList lines = spoolLines();
    EXPECT_GE(lines.size(), 3);
    return lines.mid(2, lines.size() - 3);
}
