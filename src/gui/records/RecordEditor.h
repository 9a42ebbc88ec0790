#pragma once

#include <QTime>
#include <QVariantList>
#include <QWidget>
#include <cstdint>

class PrintDocument;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Fiche": creates, shows, changes, deletes and prints one term record at a time. There is one
// editor in the program.
class Session;
class RecordEditor : public QWidget {
    Q_OBJECT

public:
    explicit RecordEditor(Session& session, QWidget* parent = nullptr);

    // The one editor, shown (created when needed); the one already open, or none.
    static RecordEditor* open(Session& session);
    static RecordEditor* existing();

    // 0 starts a new record; another number shows that record.
    void showRecord(std::int32_t recordNumber);

    void save();
    void remove();
    void add();
    void print();
    void pageSetup();

    PrintDocument& browser() const { return *m_printDocument; }

protected:
    void closeEvent(class QCloseEvent* event) override;

private:
    void buildControls();
    void trackChanges();
    bool loadDomains(class Connection& connection);
    bool loadRecord(class Connection& connection, std::int32_t recordNumber);
    void startBlankRecord();
    QString validationErrors() const;
    // False when the user chose to keep someone else's changes: nothing was written.
    bool store();
    void insertRecord(class Connection& connection, const QString& user);
    bool updateRecord(class Connection& connection, const QString& user);
    void writeFields(class Recordset& rs);
    bool askToDropChanges();
    void changed();
    void creationDateChanged();
    void modificationDateChanged();

    QLabel* lblFiche;
    QComboBox* cboDomain;
    QLineEdit* txtEnglish;
    QLineEdit* txtFrench;
    QLineEdit* txtSource;
    QPlainTextEdit* txtDefinition;
    QPlainTextEdit* txtObservation;
    QDateEdit* dtpDate;
    QLabel* lblAuteur;
    QDateEdit* dtpLastModified;
    QLabel* lblModified;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdSave;
    QPushButton* cmdPrint;
    QPushButton* cmdQuit;
    PrintDocument* m_printDocument;
    // The stored creation time of day, which the date picker does not show.
    QTime m_createdTime{0, 0};
    // Set while the window fills its own controls: those are no changes.
    bool m_filling = false;
    // Every field of the stored record as this window last read or wrote it.
    QVariantList m_loaded;
    Session& m_session;
};
