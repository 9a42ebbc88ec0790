#pragma once

#include <QWidget>

class QTimer;

// The borderless window shown while the program starts; it closes itself after 3 seconds, or
// sooner on a key or a click.
class SplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit SplashScreen(QWidget* parent = nullptr);

protected:
    void keyPressEvent(class QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer* Timer;
};
