#pragma once

#include "core/interchange/LegacyTableReader.h"

#include <QDialog>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Chooses the database file and its password (upper frame) and changes, sets or removes the
// password of the database itself (lower frame).
class Session;
class ConfigurationWindow : public QDialog {
    Q_OBJECT

public:
    explicit ConfigurationWindow(Session& session, QWidget* parent = nullptr);

    // Start-up: only the path and the password given by the administrator can be entered.
    void applyStartupPreset();
    // Users below manager level see the configuration but cannot enter or change a password.
    void applyRestrictedPreset();

    void saveDatabaseChoice();
    void savePassword();
    void browseForDatabase();
    // What reads a base of the older version before converting it (the Jet file reader unless
    // set).
    void setLegacyReaderFactory(LegacyReaderFactory factory) { m_openLegacy = std::move(factory); }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUpperFrame(QGroupBox* frame);
    void buildLowerFrame(QGroupBox* frame);
    void load();
    void findDatabase();
    QString askForDatabase();
    // A file of the older version is offered for conversion into a new base beside it: the path
    // to show (the chosen file, or the new base), or nothing when the user declines or it fails.
    std::optional<QString> convertIfOld(const QString& chosen, const QString& procedure);
    void select(QRadioButton* option);
    void configChosen();
    void newPasswordChosen();
    void passwordChosen();
    void noPasswordChosen();
    // Opens the database with the password and reads from it. Throws AppError.
    static void testDatabase(const QString& path, const QString& password);
    // The password handler's two ways, below its one catch: each changes the saved database's
    // password and its password file together, and throws AppError. changePassword gives false
    // when the user has something to correct first (already told).
    bool changePassword();
    void removePassword();

    // The unsaved-changes question; true when the window may close.
    bool mayClose();

    QLineEdit* txtDBPath;
    QPushButton* cmdBrowseDB;
    QRadioButton* optConfig;
    QRadioButton* optNewPass;
    QLineEdit* txtCurrentDBPassword;
    QPushButton* cmdSaveDB;
    QGroupBox* fraDBPass;
    QRadioButton* optPass;
    QRadioButton* optNoPass;
    QLabel* lblOldPass;
    QLineEdit* txtDBOldPassword;
    QLabel* lblNewPass;
    QLineEdit* txtDbPassword;
    QLabel* lblConfirm;
    QLineEdit* txtDbPasswordConfirm;
    QPushButton* cmdSavePass;
    QPushButton* cmdClose;
    bool m_noPath = false;
    // Shown to a user who may look but not choose another database.
    bool m_restricted = false;
    bool m_closing = false;
    Session& m_session;
    LegacyReaderFactory m_openLegacy;
};
