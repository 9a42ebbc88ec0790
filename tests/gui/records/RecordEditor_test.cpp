#include "core/Clock.h"
#include "core/db/Recordset.h"
#include "core/files/ProgramFolder.h"
#include "core/session/Session.h"
#include "gui/print/PrintFlow.h"
#include "gui/records/RecordEditor.h"
#include "gui/search/SearchFixture.h"
#include "gui/tray/TrayMenu.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class RecordEditorTest : public OnBothBackends<SearchTest> {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        signInAs(u"Jean-François Côté"_s, 1);
        editor = RecordEditor::open(session);
    }
    void TearDown() override {
        delete editor;
        SearchTest::TearDown();
    }
    template <typename T = QWidget> T* control(const QString& name) {
        return findControl<T>(editor, name);
    }
    QString text(const QString& label) { return control<QLabel>(label)->text(); }
    bool unsaved() { return control(u"cmdSave"_s)->isEnabled(); }
    void type(const QString& box, const QString& value) { control<QLineEdit>(box)->setText(value); }
    void chooseDomain(const QString& name) {
        auto* box = control<QComboBox>(u"cboDomain"_s);
        box->setCurrentIndex(box->findText(name));
    }
    // The stored row's columns.
    QVariant stored(qlonglong id, const QString& column) {
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT * FROM Files WHERE ID = "_s + QString::number(id), c);
        return rs.atEnd() ? QVariant(u"<absent>"_s) : rs.value(column);
    }

    RecordEditor* editor = nullptr;
};

INSTANTIATE_ON_BOTH_BACKENDS(RecordEditorTest);

TEST_P(RecordEditorTest, ANewRecordIsStoredTrimmedWithItsAuthorAndNumber) {
    Clock::setNow(QDateTime(QDate(2006, 6, 20), QTime(11, 0)));
    editor->showRecord(0);
    EXPECT_EQ(RecordEditor::existing(), editor);
    EXPECT_FALSE(unsaved());
    EXPECT_EQ(control<QComboBox>(u"cboDomain"_s)->count(), 3);
    EXPECT_EQ(control<QComboBox>(u"cboDomain"_s)->currentIndex(), -1);
    chooseDomain(u"Médecine"_s);
    type(u"txtEnglish"_s, u"  heartburn "_s);
    type(u"txtFrench"_s, u" brûlures d'estomac  "_s);
    control<QPlainTextEdit>(u"txtDefinition"_s)->setPlainText(u" Sensation de brûlure.\n "_s);
    control<QDateEdit>(u"dtpDate"_s)->setDate(QDate(2006, 6, 1));
    EXPECT_TRUE(unsaved());
    editor->save();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(text(u"lblFiche"_s), u"00006"_s);
    EXPECT_EQ(text(u"lblAuteur"_s), u"Jean-François Côté"_s);
    EXPECT_FALSE(unsaved());
    EXPECT_EQ(stored(6, u"English"_s).toString(), u"heartburn"_s);
    EXPECT_EQ(stored(6, u"French"_s).toString(), u"brûlures d'estomac"_s);
    EXPECT_EQ(stored(6, u"DEFINITION"_s).toString(), u"Sensation de brûlure."_s);
    EXPECT_EQ(stored(6, u"DomainID"_s).toLongLong(), medecine);
    EXPECT_EQ(stored(6, u"CreatedBy"_s).toString(), u"Jean-François Côté"_s);
    EXPECT_EQ(stored(6, u"MODIFIEDBY"_s).toString(), u""_s);
    EXPECT_EQ(stored(6, u"Date"_s).toDateTime().date(), QDate(2006, 6, 1));
    EXPECT_EQ(stored(6, u"DateModified"_s).toDateTime().date(), QDate(2006, 6, 20));

    // Saved again under its padded number: the same row is updated.
    type(u"txtEnglish"_s, u"heartburn (pyrosis)"_s);
    editor->save();
    EXPECT_EQ(stored(6, u"English"_s).toString(), u"heartburn (pyrosis)"_s);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 6);
}

TEST_P(RecordEditorTest, AnExistingRecordShowsItsPlainNumberAndKeepsItsAuthor) {
    editor->showRecord(3);
    EXPECT_EQ(text(u"lblFiche"_s), u"3"_s);
    EXPECT_EQ(control<QComboBox>(u"cboDomain"_s)->currentText(), u"Médecine"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtFrench"_s)->text(), u"épanchement de l'eau"_s);
    EXPECT_EQ(control<QDateEdit>(u"dtpDate"_s)->date(), QDate(2005, 6, 30));
    EXPECT_EQ(text(u"lblAuteur"_s), u"Élise Gagnon"_s);
    EXPECT_FALSE(unsaved());
    control<QDateEdit>(u"dtpLastModified"_s)->setDate(QDate(2005, 8, 1));
    editor->save();
    EXPECT_EQ(stored(3, u"CreatedBy"_s).toString(), u"Élise Gagnon"_s);
    EXPECT_EQ(stored(3, u"MODIFIEDBY"_s).toString(), u"Jean-François Côté"_s);
    EXPECT_EQ(stored(3, u"DateModified"_s).toDateTime().date(), QDate(2006, 6, 15));
    EXPECT_EQ(text(u"lblModified"_s), u"Jean-François Côté"_s);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 5);
}

TEST_P(RecordEditorTest, AMissingRecordGivesOneMessageAndABlankRecord) {
    editor->showRecord(99);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, u"Fiche introuvable"_s);
    EXPECT_EQ(text(u"lblFiche"_s), u""_s);
    EXPECT_EQ(control<QLineEdit>(u"txtEnglish"_s)->text(), u""_s);
}

TEST_P(RecordEditorTest, ValidationListsDomainEnglishAndFrenchInOrder) {
    editor->showRecord(0);
    type(u"txtEnglish"_s, u"   "_s);
    editor->save();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Les champs suivants sont invalides:\r\nLe domaine du terme.\r\nLa signification "
              "du terme en anglais.\r\nLa signification du terme en français.\r\n"_s);
    EXPECT_EQ(dialogs->messages[0].title, u"Erreur"_s);
    EXPECT_TRUE(unsaved());
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 5);
}

TEST_P(RecordEditorTest, DatesSnapSoCreationNeverFollowsModification) {
    editor->showRecord(2); // created 2005-01-01, modified 2005-01-01
    auto* created = control<QDateEdit>(u"dtpDate"_s);
    auto* modified = control<QDateEdit>(u"dtpLastModified"_s);
    created->setDate(QDate(2005, 3, 1));
    EXPECT_EQ(created->date(), QDate(2005, 1, 1));
    EXPECT_TRUE(unsaved());
    modified->setDate(QDate(2004, 12, 1));
    EXPECT_EQ(modified->date(), QDate(2005, 1, 1));
    modified->setDate(QDate(2005, 5, 5));
    created->setDate(QDate(2005, 2, 2));
    EXPECT_EQ(created->date(), QDate(2005, 2, 2));
}

TEST_P(RecordEditorTest, DeletingAskesFirstAndNeverDeletesAnUnsavedRecord) {
    editor->showRecord(0);
    editor->remove();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Vous ne pouvez pas supprimer une fiche qui n'est pas encore enregistrée!"_s);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 5);

    editor->showRecord(4);
    dialogs->answers = {Dialogs::Answer::No};
    editor->remove();
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 5);
    editor->remove(); // Yes
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 4);
    EXPECT_EQ(stored(4, u"ID"_s).toString(), u"<absent>"_s);
    EXPECT_EQ(text(u"lblFiche"_s), u""_s);
    EXPECT_FALSE(unsaved());
}

TEST_P(RecordEditorTest, AFailedStoreKeepsTheNumberAndTheTyping) {
    editor->showRecord(0);
    chooseDomain(u"Droit"_s);
    type(u"txtEnglish"_s, u"statute"_s);
    type(u"txtFrench"_s, u"loi"_s);
    {
        Connection c;
        open(c);
        c.execute(u"DELETE * FROM domains WHERE ID = "_s + QString::number(droit) + u";"_s);
    }
    editor->save(); // the domain is gone: the store is refused
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, u"Procédure: cmdSave_Click"_s);
    EXPECT_EQ(text(u"lblFiche"_s), u""_s);
    EXPECT_EQ(control<QLineEdit>(u"txtEnglish"_s)->text(), u"statute"_s);
    EXPECT_TRUE(unsaved());
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE English = 'statute'"_s), 0);
}

TEST_P(RecordEditorTest, ClosingWithChangesAsksAndHoldsTheSession) {
    editor->showRecord(1);
    type(u"txtSource"_s, u"changé"_s);
    TrayMenu tray(session);
    tray.setExit([] {});
    // Ending the session: Yes, then No to dropping the change.
    dialogs->answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    tray.signOut();
    EXPECT_TRUE(session.isSignedIn());
    EXPECT_EQ(RecordEditor::existing(), editor);
    EXPECT_EQ(dialogs->messages[1].text, u"Vous avez fait des changements qui n'ont pas été "
                                         "sauvegardés, êtes-vous certain de vouloir continuer?"_s);
    EXPECT_EQ(dialogs->messages[1].title, u"Attention !"_s);
    EXPECT_EQ(dialogs->messages[1].defaultButton, Dialogs::Answer::No);
    EXPECT_EQ(dialogs->messages[2].title, u"Fermeture de session impossible."_s);
    EXPECT_TRUE(editor->isVisible());

    dialogs->answers = {Dialogs::Answer::Yes};
    EXPECT_TRUE(editor->close());
    EXPECT_EQ(RecordEditor::existing(), nullptr);
    EXPECT_EQ(stored(1, u"AF"_s).toString(), u"OQLF"_s);
}

TEST_P(RecordEditorTest, PrintingAskesForASavedRecord) {
    editor->showRecord(0);
    editor->print();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].title, u"Impression d'une fiche"_s);
    EXPECT_FALSE(QFile::exists(PrintFlow::spoolPath()));
    editor->showRecord(2);
    editor->print(); // the scripted print dialog is cancelled
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialogs->printDialogsShown == 1; }, 2000));
    EXPECT_FALSE(QFile::exists(PrintFlow::spoolPath()));
}

TEST_P(RecordEditorTest, SavingKeepsLineBreaksAsCrLfAndTheTimeOfCreation) {
    const QDateTime created(QDate(2005, 6, 1), QTime(14, 30, 15));
    const struct {
        QString stored;
        QString typed; // null: only the English term changes
        QDate pickedDate;
        QString expected;
    } cases[] = {
        {u"un\r\ndeux"_s, QString(), QDate(), u"un\r\ndeux"_s},
        {u"un\ndeux"_s, QString(), QDate(), u"un\r\ndeux"_s}, // written by an earlier version
        {QString(), u"un\n\ntrois"_s, QDate(), u"un\r\n\r\ntrois"_s},
        {u"un"_s, QString(), QDate(2005, 6, 2), u"un"_s},
    };
    for (const auto& c : cases) {
        const qlonglong id = insertRow(u"Files"_s, {{u"English"_s, u"term"_s},
                                                    {u"French"_s, u"terme"_s},
                                                    {u"DomainID"_s, droit},
                                                    {u"Date"_s, created},
                                                    {u"DEFINITION"_s, c.stored},
                                                    {u"CreatedBy"_s, u"Élise Gagnon"_s}});
        editor->showRecord(static_cast<std::int32_t>(id));
        auto* definition = control<QPlainTextEdit>(u"txtDefinition"_s);
        EXPECT_FALSE(definition->toPlainText().contains(u'\r')) << c.stored;
        if (c.typed.isNull()) {
            type(u"txtEnglish"_s, u"term (changed)"_s);
        } else {
            definition->setPlainText(c.typed);
        }
        if (c.pickedDate.isValid()) {
            control<QDateEdit>(u"dtpDate"_s)->setDate(c.pickedDate);
        }
        editor->save();
        EXPECT_EQ(stored(id, u"DEFINITION"_s).toString(), c.expected) << c.stored;
        const QDateTime date = stored(id, u"Date"_s).toDateTime();
        EXPECT_EQ(date.date(), c.pickedDate.isValid() ? c.pickedDate : created.date());
        EXPECT_EQ(date.time().toString(u"HH:mm:ss"_s), u"14:30:15"_s) << c.stored;
    }
}
