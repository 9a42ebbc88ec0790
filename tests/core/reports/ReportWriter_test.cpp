#include "core/reports/ReportFixture.h"
#include "core/reports/ReportWriter.h"

using namespace Qt::StringLiterals;

namespace {

const QString kTable = u"<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=3 WIDTH=\"100%\">"_s;
const QString kRow = u"      <TR ALIGN=\"LEFT\" VALIGN=\"TOP\">"_s;
const QString kEnd = u"         </FONT></TD>"_s;
const QString kLabel = u"         <TD WIDTH=\"22%\"><FONT FACE=\"Times New Roman,Times\" SIZE=4>"_s;

IdentifierList range(int from, int count) {
    IdentifierList ids;
    for (int i = 0; i < count; ++i) {
        ids.push_back(from + i);
    }
    return ids;
}

} // namespace

INSTANTIATE_ON_BOTH_BACKENDS(ReportBackendTest);

TEST(identifierGroups, ThirtyFourThenThirtyFiveAGroup) {
    EXPECT_EQ(identifierGroups({42}), QStringList{u"Files.ID = 42"_s});
    EXPECT_EQ(identifierGroups({7, 3}), QStringList{u"Files.ID = 7 OR Files.ID = 3"_s});
    const struct {
        int ids;
        std::vector<int> sizes;
    } cases[] = {{34, {34}}, {35, {34, 1}}, {69, {34, 35}}, {70, {34, 35, 1}}};
    for (const auto& c : cases) {
        const QStringList groups = identifierGroups(range(1, c.ids));
        ASSERT_EQ(groups.size(), static_cast<qsizetype>(c.sizes.size())) << c.ids;
        for (size_t g = 0; g < c.sizes.size(); ++g) {
            EXPECT_EQ(groups[g].count(u"Files.ID = "_s), c.sizes[g]) << c.ids;
        }
    }
    EXPECT_TRUE(identifierGroups(range(1, 35))[1] == u"Files.ID = 35"_s);
}

TEST_P(ReportBackendTest, FullListingOfOneRecordKeepsItsExactLayout) {
    const qlonglong id = insertRow(
        u"Files"_s,
        {{u"English"_s, u"circuit breaker"_s},
         {u"French"_s, u"disjoncteur"_s},
         {u"AF"_s, u"CEI"_s},
         {u"DomainID"_s, domain},
         {u"DEFINITION"_s, u"Appareil de protection.\r\nCoupe le c\u0153ur du circuit."_s},
         {u"Date"_s, QDate(2004, 2, 3)},
         {u"CreatedBy"_s, u"essai"_s},
         {u"DateModified"_s, QDateTime(QDate(2005, 3, 4), QTime(9, 30))}});
    ASSERT_TRUE(writeFullListing(location(dbPassword), {static_cast<std::int32_t>(id)}, spool(),
                                 u"essai, 14:05:09"_s));
    const auto table = [](const QString& labelCell, const QString& label, const QString& valueCell,
                          const QString& value) {
        return QStringList{kTable, kRow, labelCell,       label, kEnd, u"         "_s + valueCell,
                           value,  kEnd, u"      </TR>"_s};
    };
    const QString font = u"<FONT FACE=\"Times New Roman,Times\" SIZE=3"_s;
    QStringList expected = {
        u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"_s,
        u"<HTML><HEAD><TITLE>essai, 14:05:09</TITLE></HEAD><BODY>"_s};
    expected << table(u"         <TD WIDTH=\"22%\"><FONT FACE=\"Times New Roman,Times\" SIZE=4 >"_s,
                      u"Num&eacute;ro de fiche: "_s, u"<TD >"_s + font + u">"_s, u"00001"_s)
             << u"</TABLE>"_s;
    expected << table(kLabel, u"Domaine: "_s, u"<TD >"_s + font + u">"_s,
                      u"<P ALIGN=\"justify\">&Eacute;lectricit&eacute;</P>"_s)
             << u"</TABLE>"_s;
    expected << table(kLabel, u"Terme fran&ccedil;ais: "_s,
                      u"<TD >"_s + font + u" color=\"Blue\">"_s,
                      u"<P ALIGN=\"justify\">disjoncteur</P>"_s)
             << u"</TABLE>"_s;
    expected << table(kLabel, u"Terme anglais: "_s, u"<TD>"_s + font + u" COLOR=\"red\">"_s,
                      u"<P ALIGN=\"justify\">circuit breaker</P>"_s)
             << u"</TABLE>"_s;
    expected << table(kLabel, u"Source AF: "_s, u"<TD>"_s + font + u">"_s,
                      u"<P ALIGN=\"justify\">CEI</P>"_s)
             << u"</TABLE>"_s;
    expected << table(kLabel, u"D&eacute;finition: "_s, u"<TD>"_s + font + u">"_s,
                      u"<P ALIGN=\"justify\">Appareil de protection.<br>Coupe le c&#339;ur du "
                      "circuit.</P>"_s)
             << u"</TABLE>"_s;
    expected << table(kLabel, u"Observation: "_s, u"<TD>"_s + font + u">"_s,
                      u"<P ALIGN=\"justify\"></P>"_s)
             << u"      <TR>"_s << u"      <TD>"_s << u"      </TD>"_s << u"      </TR>"_s
             << u"</TABLE>"_s << u"<BR>"_s;
    expected << kTable << kRow << kLabel << u"Date de cr&eacute;ation: "_s << kEnd
             << u"         <TD WIDTH=\"28%\">"_s + font + u">"_s << u"03/02/2004"_s << kEnd
             << u"         <TD WIDTH=\"35%\"><FONT FACE=\"Times New Roman,Times\" SIZE=4>"_s
             << u"Derni&egrave;re date de modification"_s << kEnd
             << u"         <TD WIDTH=\"15%\">"_s + font + u">"_s << u"04/03/2005 09:30:00"_s << kEnd
             << u"      </TR>"_s << u"      <TR>"_s << u"      <TD>"_s << u"      </TD>"_s
             << u"      </TR>"_s << u"</TABLE>"_s;
    expected << kTable << kRow << kLabel << u"Auteur: "_s << kEnd
             << u"         <TD  WIDTH=\"28%\">"_s + font + u">"_s
             << u"<P ALIGN=\"justify\">essai</P>"_s << kEnd
             << u"         <TD WIDTH=\"35%\"><FONT FACE=\"Times New Roman,Times\" SIZE=4>"_s
             << u"Modifi&eacute; par: "_s << kEnd
             << u"         <TD  WIDTH=\"15%\">"_s + font + u">"_s << u"<P ALIGN=\"justify\"></P>"_s
             << kEnd << u"</TABLE>"_s << u"</BODY></HTML>"_s;
    const QStringList actual = spoolLines();
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        ASSERT_EQ(actual.value(i), expected.value(i)) << "line " << i + 1;
    }
}

TEST_P(ReportBackendTest, FullListingRulesGiveTwoRecordsAPage) {
    for (int i = 0; i < 4; ++i) {
        addRecord(u"term "_s + QString::number(i));
    }
    const QString plain = u"<HR WIDTH=\"100%\">"_s;
    const QString pageBreak = u"<HR WIDTH=\"100%\" STYLE=\"page-break-after: always;\">"_s;
    const struct {
        int records;
        QStringList rules;
    } cases[] = {{3, {plain, pageBreak}}, {4, {plain, pageBreak, plain}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(writeFullListing(location(dbPassword), range(1, c.records), spool(), u"t"_s));
        QStringList rules;
        for (const QString& line : body()) {
            if (line.startsWith(u"<HR"_s)) {
                rules << line;
            }
        }
        EXPECT_EQ(rules, c.rules) << c.records;
        EXPECT_EQ(body().last(), u"</TABLE>"_s);
    }
    ASSERT_TRUE(writeFullListingForOpera(location(dbPassword), range(1, 4), spool(), u"t"_s));
    const QStringList opera = body();
    EXPECT_EQ(opera.count(u"<DIV STYLE=\"page-break-inside: avoid;\">"_s), 4);
    EXPECT_EQ(opera.count(u"<HR WIDTH=\"100%\"></DIV>"_s), 4);
    EXPECT_EQ(opera.last(), u"<HR WIDTH=\"100%\"></DIV>"_s);
    EXPECT_EQ(opera.mid(1, 3), (QStringList{kTable, kRow,
                                            u"         <TD WIDTH=\"22%\"><FONT FACE=\"Times New "
                                            "Roman,Times\" SIZE=4 >"_s}));
    EXPECT_TRUE(opera.contains(u"         <TD WIDTH=\"78%\"><FONT FACE=\"Times New Roman,Times\" "
                               "SIZE=3 color=\"Blue\">"_s));
}

TEST_P(ReportBackendTest, GroupsListEveryRecordAndSkipDeletedOnes) {
    for (int i = 0; i < 70; ++i) {
        addRecord(u"term "_s + QString::number(i));
    }
    const qlonglong orphanDomain = addDomain(u"Orphelin"_s);
    const qlonglong orphan = addRecord(u"orphan"_s, u"orphelin"_s, orphanDomain);
    {
        Connection c;
        open(c);
        c.execute(u"DELETE * FROM files WHERE ID = 35;"_s);
        c.execute(u"PRAGMA foreign_keys = OFF; DELETE FROM Domains WHERE ID = "_s +
                  QString::number(orphanDomain) + u";"_s);
    }
    IdentifierList ids = range(1, 70);
    ids.push_back(static_cast<std::int32_t>(orphan));
    ids.push_back(9999);
    ASSERT_TRUE(writeShortListing(location(dbPassword), ids, spool(), u"t"_s));
    EXPECT_EQ(body().count(u"      <TR ALIGN=\"LEFT\" VALIGN=\"TOP\">"_s), 69);
    ASSERT_TRUE(writeFullListing(location(dbPassword), {35, 9999}, spool(), u"t"_s));
    EXPECT_EQ(body().size(), 0); // header and trailer only
    EXPECT_TRUE(reported->errors.empty());
}

TEST_P(ReportBackendTest, ShortListingKeepsItsExactLayout) {
    addRecord(u"ground fault"_s, u"défaut à la terre"_s);
    insertRow(u"Files"_s, {{u"English"_s, u"x"_s}, {u"French"_s, u"y"_s}, {u"DomainID"_s, domain}});
    ASSERT_TRUE(writeShortListing(location(dbPassword), {1, 2}, spool(), u"t"_s));
    const QString th = u"        <TH WIDTH=\"%1\"><FONT FACE=\"Times New Roman,Times\" SIZE=-1>"
                       "<NOBR>%2</NOBR></FONT></TH>"_s;
    const QString td = u"         <TD><FONT FACE=\"Times New Roman,Times\" SIZE=-1>"_s;
    QStringList expected = {u"<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=6 WIDTH=\"100%\">"_s,
                            u"   <THEAD>"_s,
                            u"      <TR ALIGN=\"LEFT\">"_s,
                            th.arg(u"4%"_s, u"ID"_s),
                            th.arg(u"20%"_s, u"Domaine"_s),
                            th.arg(u"29%"_s, u"Fran&ccedil;ais"_s),
                            th.arg(u"29%"_s, u"Anglais"_s),
                            th.arg(u"11%"_s, u"Auteur"_s),
                            th.arg(u"7%"_s, u"Date"_s),
                            u"      </TR>"_s,
                            u"   </THEAD>"_s};
    const auto row = [&](const QStringList& cells) {
        QStringList lines = {kRow};
        for (const QString& c : cells) {
            lines << td << c << kEnd;
        }
        return lines << u"      </TR>"_s;
    };
    expected << row({u"00001"_s, u"<P ALIGN=\"justify\">&Eacute;lectricit&eacute;</P>"_s,
                     u"<P ALIGN=\"justify\">d&eacute;faut &agrave; la terre</P>"_s,
                     u"<P ALIGN=\"justify\">ground fault</P>"_s,
                     u"<P ALIGN=\"justify\">&Eacute;lise Gagnon</P>"_s, u"04/03/2005"_s});
    expected << row({u"00002"_s, u"<P ALIGN=\"justify\">&Eacute;lectricit&eacute;</P>"_s,
                     u"<P ALIGN=\"justify\">y</P>"_s, u"<P ALIGN=\"justify\">x</P>"_s,
                     u"<P ALIGN=\"justify\"></P>"_s, u""_s});
    expected << u"</TABLE>"_s;
    EXPECT_EQ(body(), expected);

    ASSERT_TRUE(writeShortListingForOpera(location(dbPassword), {1, 2}, spool(), u"t"_s));
    const QStringList opera = body();
    EXPECT_EQ(opera.count(u"<DIV STYLE=\"page-break-inside: avoid;\">"_s), 2);
    EXPECT_EQ(opera.at(opera.size() - 2), u"</DIV>"_s);
}

TEST_P(ReportBackendTest, DomainListSkipsANamelessDomain) {
    addDomain(u"Chimie"_s);
    addDomain(u"Biologie"_s);
    ASSERT_TRUE(writeDomainList(location(dbPassword), spool(), u"t"_s));
    EXPECT_EQ(body(), (QStringList{u"<br>"_s, u"Biologie"_s, u"<br>"_s, u"Chimie"_s, u"<br>"_s,
                                   u"&Eacute;lectricit&eacute;"_s}));
    insertRow(u"Domains"_s, {{u"Name"_s, QVariant()}});
    ASSERT_TRUE(writeDomainList(location(dbPassword), spool(), u"t"_s));
    EXPECT_EQ(body().first(), u"<br>"_s);
    EXPECT_EQ(body().size(), 7);
    ASSERT_EQ(reported->errors.size(), 1u);
    EXPECT_EQ(reported->errors[0].procedure, u"bPrintDomains"_s);
}

TEST_P(ReportBackendTest, UnwritableSpoolOrUnreadableDatabaseShowsNothing) {
    const QString missing = path(u"absent/spool.html"_s);
    EXPECT_FALSE(writeFullListing(location(dbPassword), {1}, missing, u"t"_s));
    EXPECT_FALSE(writeShortListing(location(dbPassword), {1}, missing, u"t"_s));
    EXPECT_FALSE(writeDomainList(location(dbPassword), missing, u"t"_s));
    ASSERT_EQ(reported->errors.size(), 3u);
    EXPECT_EQ(reported->errors[0].procedure, u"bPrintFull"_s);
    EXPECT_EQ(reported->errors[0].number, 76);
    EXPECT_EQ(reported->errors[0].wording, ErrorWording::Standard);
    EXPECT_FALSE(QFile::exists(missing));

    // A query that fails is reported once and the report is not shown as complete.
    addRecord(u"a"_s);
    {
        Connection c;
        open(c);
        c.execute(u"ALTER TABLE Domains RENAME TO Autres;"_s);
    }
    EXPECT_FALSE(writeFullListing(location(dbPassword), range(1, 70), spool(), u"t"_s));
    EXPECT_EQ(reported->errors.size(), 4u);
    EXPECT_EQ(spoolLines().last(), u"</BODY></HTML>"_s);
}

TEST_P(ReportBackendTest, LineBreaksOfEitherKindPrintAsBreaks) {
    const struct {
        QString definition;
        QString written;
    } cases[] = {
        {u"un\r\ndeux"_s, u"<P ALIGN=\"justify\">un<br>deux</P>"_s},
        {u"un\ndeux"_s, u"<P ALIGN=\"justify\">un<br>deux</P>"_s},
        {u"un\n\r\ndeux\n"_s, u"<P ALIGN=\"justify\">un<br><br>deux<br></P>"_s},
    };
    for (const auto& c : cases) {
        const qlonglong id = insertRow(u"Files"_s, {{u"English"_s, u"term"_s},
                                                    {u"French"_s, u"terme"_s},
                                                    {u"DomainID"_s, domain},
                                                    {u"DEFINITION"_s, c.definition}});
        ASSERT_TRUE(writeFullListing(location(dbPassword), {static_cast<std::int32_t>(id)}, spool(),
                                     u"essai"_s));
        EXPECT_TRUE(body().contains(c.written)) << c.definition;
    }
}
