#pragma once

#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"

// A small term base: three domains and a few records by three authors, on known dates.
class SearchTest : public SessionTest {
protected:
    void SetUp() override;
    void TearDown() override;

    qlonglong addRecord(qlonglong domain, const QString& english, const QString& french,
                        const QDate& created, const QString& author);

    qlonglong electricite = 0;
    qlonglong medecine = 0;
    qlonglong droit = 0;
};
