#include "gui/search/SearchFixture.h"

#include "core/Clock.h"

#include <QLocale>

using namespace Qt::StringLiterals;

void SearchTest::SetUp() {
    SessionTest::SetUp();
    QLocale::setDefault(QLocale(QLocale::French, QLocale::Canada));
    Clock::setNow(QDateTime(QDate(2006, 6, 15), QTime(10, 0)));
    electricite = addDomain(u"Électricité"_s);
    medecine = addDomain(u"Médecine"_s);
    droit = addDomain(u"Droit"_s);
    addRecord(electricite, u"circuit breaker"_s, u"disjoncteur"_s, QDate(2004, 12, 31),
              u"Élise Gagnon"_s); // 1
    addRecord(electricite, u"ground fault"_s, u"défaut à la terre"_s, QDate(2005, 1, 1),
              u"Jean-François Côté"_s); // 2
    addRecord(medecine, u"water on the knee"_s, u"épanchement de l'eau"_s, QDate(2005, 6, 30),
              u"Élise Gagnon"_s);                                                              // 3
    addRecord(droit, u"bill"_s, u"projet de loi"_s, QDate(2005, 12, 31), u"Administrateur"_s); // 4
    addRecord(medecine, u"water pill"_s, u"diurétique"_s, QDate(2006, 1, 1), QString());       // 5
}

void SearchTest::TearDown() {
    QLocale::setDefault(QLocale::system());
    SessionTest::TearDown();
}

qlonglong SearchTest::addRecord(qlonglong domain, const QString& english, const QString& french,
                                const QDate& created, const QString& author) {
    return insertRow(u"Files"_s, {{u"English"_s, english},
                                  {u"French"_s, french},
                                  {u"AF"_s, u"OQLF"_s},
                                  {u"DomainID"_s, domain},
                                  {u"Date"_s, created},
                                  {u"CreatedBy"_s, author},
                                  {u"DateModified"_s, QDateTime(created, QTime(14, 30))}});
}
