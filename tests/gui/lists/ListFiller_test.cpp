#include "core/search/CodedColumn.h"
#include "core/search/TextColumn.h"
#include "gui/lists/ComboData.h"
#include "gui/lists/ListFiller.h"
#include "gui/lists/ListView.h"
#include "gui/search/SearchFixture.h"
#include "gui/widgets/ProgressWindow.h"

#include <QComboBox>

using namespace Qt::StringLiterals;

class ListFillerTest : public OnBothBackends<SearchTest> {
protected:
    std::int32_t fill(const QString& query, const ColumnList* columns = nullptr) {
        return ListFiller::fill(list, session.location(), query, window, u"Affichage"_s, columns);
    }
    QStringList headers() const {
        QStringList out;
        for (int c = 0; c < list.columnHeaderCount(); ++c) {
            out << list.columnHeaderText(c);
        }
        return out;
    }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < list.itemCount(); ++r) {
            out << list.itemText(r, c);
        }
        return out;
    }
    static std::shared_ptr<ColumnDescriptor> plain(const QString& source, const QString& display) {
        auto d = std::make_shared<TextColumn>();
        d->define(source, display);
        return d;
    }

    QWidget window;
    ListView list{&window};
};

INSTANTIATE_ON_BOTH_BACKENDS(ListFillerTest);

TEST_P(ListFillerTest, FillsHeadersAndCellsThroughTheColumnList) {
    ColumnList columns = {plain(u"ID"_s, u"No de Fiche"_s), plain(u"NAME"_s, u"Domaine"_s),
                          plain(u"name"_s, u"Jamais"_s), plain(u"DATE"_s, u"Date de création"_s)};
    EXPECT_EQ(fill(u"SELECT Files.ID, Domains.Name, Files.Date, Files.DateModified, "
                   "Files.ModifiedBy FROM Files, Domains WHERE files.domainid = domains.id "
                   "ORDER BY Files.ID;"_s,
                   &columns),
              5);
    EXPECT_EQ(headers(), (QStringList{u"No de Fiche"_s, u"Domaine"_s, u"Date de création"_s,
                                      u"DateModified"_s, u"ModifiedBy"_s}));
    EXPECT_EQ(column(0), (QStringList{u"00001"_s, u"00002"_s, u"00003"_s, u"00004"_s, u"00005"_s}));
    EXPECT_EQ(list.itemText(0, 1), u"Électricité"_s);
    EXPECT_EQ(list.itemText(0, 2), u"2004-12-31"_s);          // the short date, no time
    EXPECT_EQ(list.itemText(0, 3), u"2004-12-31 14:30:00"_s); // the time when there is one
    EXPECT_EQ(list.itemText(0, 4), u""_s);                    // null
    EXPECT_TRUE(list.isVisible() || !window.isVisible());
    EXPECT_GT(list.columnWidth(1), list.fontMetrics().horizontalAdvance(u"Électricité"_s));
}

TEST_P(ListFillerTest, FirstColumnIsPaddedOnlyWhenItIsANumber) {
    ColumnList columns = {plain(u"NAME"_s, u"Domaine"_s)};
    EXPECT_EQ(fill(u"SELECT NAME FROM Domains order by name"_s, &columns), 3);
    EXPECT_EQ(column(0), (QStringList{u"Droit"_s, u"Électricité"_s, u"Médecine"_s}));
    auto type = std::make_shared<CodedColumn>();
    type->define(u"Type"_s, u"Type"_s, 0,
                 {u"Administrateur"_s, u"Gestionnaire"_s, u"Propriétaire"_s});
    ColumnList accounts = {plain(u"Name"_s, u"Nom"_s), type};
    EXPECT_EQ(fill(u"Select ID, Name, Type from Passwords"_s, &accounts), 3);
    EXPECT_EQ(column(2), (QStringList{u"Administrateur"_s, u"Gestionnaire"_s, u"Propriétaire"_s}));
}

TEST_P(ListFillerTest, EmptyAndFailedQueriesLeaveAnEmptyList) {
    fill(u"SELECT Files.ID, Files.English FROM Files ORDER BY Files.ID"_s);
    ListFiller::sortByColumn(list, 2);    // descending on column 2
    ProgressWindow::instance().justRan(); // that fill's run is over
    EXPECT_EQ(fill(u"SELECT * FROM Files WHERE ID = 0"_s), 0);
    EXPECT_EQ(list.columnHeaderCount(), 0);
    EXPECT_EQ(list.itemCount(), 0);
    EXPECT_EQ(list.sortKey(), 1);
    EXPECT_EQ(list.sortOrder(), Qt::DescendingOrder);
    EXPECT_FALSE(ProgressWindow::instance().justRan()); // no progress window
    EXPECT_TRUE(dialogs->messages.empty());

    fill(u"SELECT Files.ID FROM Files"_s);
    EXPECT_EQ(fill(u"SELECT * FROM Files WHERE ID = abc"_s), 0);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, u"Procédure: lFillListViewADO"_s);
    EXPECT_EQ(list.itemCount(), 0);
    EXPECT_FALSE(list.isHidden());
}

TEST_P(ListFillerTest, SortStateSurvivesARefillAndFlipsAtEveryClick) {
    const QString query = u"SELECT Files.ID, Files.English, Files.French FROM Files"_s;
    fill(query);
    ListFiller::sortByColumn(list, 3); // French, descending (the direction flips from ascending)
    EXPECT_EQ(column(2).first(), u"projet de loi"_s);
    addRecord(droit, u"act"_s, u"zzz loi"_s, QDate(2006, 2, 2), u"x"_s);
    fill(query);
    EXPECT_EQ(list.sortKey(), 2);
    EXPECT_EQ(column(2).first(), u"zzz loi"_s);
    EXPECT_EQ(column(2).last(), u"défaut à la terre"_s); // accents sort among their letters
    ListFiller::sortByColumn(list, 2);
    EXPECT_EQ(list.sortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(column(1).first(), u"act"_s);
}

TEST(indexOfItemData, FindsTheFirstEntryCarryingTheValue) {
    QComboBox box;
    EXPECT_EQ(indexOfItemData(box, 2), -1);
    for (int v : {0, 1, 2, 2}) {
        box.addItem(QString::number(v), v);
    }
    EXPECT_EQ(indexOfItemData(box, 2), 2);
    EXPECT_EQ(indexOfItemData(box, 7), -1);
}

TEST(destroyColumns, EmptiesAndReleasesAnyList) {
    std::unique_ptr<ColumnList> absent;
    ListFiller::destroyColumns(absent);
    EXPECT_EQ(absent, nullptr);
    auto list = std::make_unique<ColumnList>(ColumnList{std::make_shared<TextColumn>()});
    ListFiller::destroyColumns(list);
    EXPECT_EQ(list, nullptr);
}

TEST_P(ListFillerTest, DateColumnsSortByDateWhateverTheLocaleWrites) {
    const struct {
        QLocale locale;
        QString firstDate; // record 1's creation date as shown
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), u"12/31/04"_s},
        {QLocale(QLocale::French, QLocale::Canada), u"2004-12-31"_s},
        {QLocale::c(), u"2004-12-31"_s}, // no preference stated: ISO
    };
    const QStringList byDate = {u"00001"_s, u"00002"_s, u"00003"_s, u"00004"_s, u"00005"_s};
    QStringList byDateDescending = byDate;
    std::reverse(byDateDescending.begin(), byDateDescending.end());
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        list.setSortState(false, 0, Qt::AscendingOrder);
        ASSERT_EQ(fill(u"SELECT Files.ID, Files.Date, Files.DateModified FROM Files "
                       "ORDER BY Files.English"_s),
                  5);
        EXPECT_EQ(list.itemText(static_cast<int>(column(0).indexOf(u"00001"_s)), 1), c.firstDate)
            << c.locale.name();
        for (int dateColumn : {1, 2}) {
            list.setSortState(true, dateColumn, Qt::AscendingOrder);
            EXPECT_EQ(column(0), byDate) << c.locale.name() << dateColumn;
            list.setSortState(true, dateColumn, Qt::DescendingOrder);
            EXPECT_EQ(column(0), byDateDescending) << c.locale.name() << dateColumn;
        }
    }
}

TEST_P(ListFillerTest, TextsReadBeforeARefillOutliveIt) {
    ASSERT_EQ(fill(u"SELECT Files.ID, Domains.Name FROM Files, Domains "
                   "WHERE files.domainid = domains.id ORDER BY Files.ID"_s),
              5);
    const QString& domain = list.itemText(0, 1); // held the way a caller may hold it
    const ListCells cells = list.cells();
    ASSERT_EQ(fill(u"SELECT Passwords.Login FROM Passwords"_s), 3);
    EXPECT_EQ(list.itemText(0, 0), u"admin"_s);
    EXPECT_EQ(domain, u"Électricité"_s);
    ASSERT_EQ(cells.rowCount(), 5);
    EXPECT_EQ(cells.text(0, 1), u"Électricité"_s);
    EXPECT_EQ(cells.text(4, 0), u"00005"_s);
    list.clearAll();
    EXPECT_EQ(cells.text(4, 0), u"00005"_s);
}
