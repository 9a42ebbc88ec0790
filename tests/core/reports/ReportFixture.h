#pragma once

#include "core/session/SessionFixture.h"

#include <QStringList>

// Records with known texts and dates for the reports, and the spool file read back as lines.
class ReportTest : public SessionTest {
protected:
    void SetUp() override;
    void TearDown() override;

    qlonglong addRecord(const QString& english, const QString& french = QStringLiteral("terme"),
                        qlonglong domain = 0);
    QString spool() const { return path(QStringLiteral("spool.html")); }
    // The spool file's lines, decoded as the ISO-8859-1 they are.
    QStringList spoolLines() const;
    // The lines between the header and the trailer.
    QStringList body() const;

    qlonglong domain = 0;
};

// The report tests run on both backends.
using ReportBackendTest = OnBothBackends<ReportTest>;
