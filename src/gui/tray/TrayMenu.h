#pragma once

#include <QPoint>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QTimer;

// The hidden window that owns the notification-area icon and the menu every function is
// reached from. Where the desktop has no notification area, a small window carries the menu.
class Session;
class TrayMenu : public QWidget {
    Q_OBJECT

public:
    // The windows the menu opens; each exists once.
    enum class Window { File, Search, Print, Domain, Administrator, Configuration };
    // Opens (or brings back) a window.
    using Opener = std::function<void(TrayMenu&)>;

    explicit TrayMenu(Session& session, QWidget* parent = nullptr);
    ~TrayMenu() override;

    void showIcon();
    void setOpener(Window window, Opener opener);
    // Ends the program; tests replace it.
    void setExit(std::function<void()> exit) { m_exit = std::move(exit); }

    QMenu* menu() const { return mnuTrayIcon; }
    QWidget* window(Window w) const;
    QWidget* fallbackWindow() const { return m_fallback; }

    void addRecord();
    void openSearch();
    void openPrintSelection();
    void openDomains();
    void openAccounts();
    // Adds the entries of a TBX or CSV file to the base; managers and administrators only.
    void importTerms();
    void compact();
    void configure();
    void signOut();
    void quit();

    void iconActivated(QSystemTrayIcon::ActivationReason reason);

private:
    QAction* addEntry(const QString& name, const QString& caption, void (TrayMenu::*slot)());
    void addSeparator(const QString& name);
    void open(Window window);
    void openConfiguration(bool restricted);
    void refuse(const QString& text);
    void closeWindows(std::initializer_list<Window> windows);
    // True while a window the session waits for is open (one that refused to close).
    bool anyWindowOpen() const;
    void showFallback();
    // A short confirmation: the icon's balloon, or the fallback window's status line.
    void showNotice(const QString& text);
    void popUpMenu();

    QMenu* mnuTrayIcon;
    QSystemTrayIcon* m_icon;
    // A click pops the menu up only once no second click came within the double-click interval.
    QTimer* m_clickTimer;
    QPoint m_clickPosition;
    QWidget* m_fallback = nullptr;
    std::map<Window, Opener> m_openers;
    std::map<Window, std::function<QWidget*()>> m_finders;
    std::function<void()> m_exit;
    Session& m_session;
};
