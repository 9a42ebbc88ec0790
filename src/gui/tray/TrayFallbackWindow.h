#pragma once

#include <QWidget>

class TrayMenu;

// Stands in for the notification-area icon on desktops that have none: a small window whose
// button (or a right click) pops up the same menu; a double click opens the search window.
class TrayFallbackWindow : public QWidget {
    Q_OBJECT

public:
    explicit TrayFallbackWindow(TrayMenu& tray);

    // A short confirmation on the window's status line.
    void showStatus(const QString& text);

protected:
    void contextMenuEvent(class QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(class QMouseEvent* event) override;
    void closeEvent(class QCloseEvent* event) override;

private:
    void placeInCorner();

    TrayMenu& m_tray;
    class QLabel* m_status;
};
