#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

// Keeps a resizable window's controls in place as it grows: each control keeps its distance to
// the edges it is anchored to, and grows when anchored to both sides of a direction.
class Anchors {
public:
    enum Edge { Left = 1, Top = 2, Right = 4, Bottom = 8, CentreX = 16 };

    // The client size the controls were placed for.
    explicit Anchors(QSize base) : m_base(base) {}

    void add(QWidget* control, int edges);
    // Places every control for this client size (never smaller than the base).
    void fit(QSize size) const;

    // The window size kept in the settings file under the window's name, or the base size.
    static QSize storedSize(const QString& window, QSize base);
    static void storeSize(const QString& window, QSize size);

private:
    struct Anchored {
        QPointer<QWidget> control;
        QRect base;
        int edges;
    };
    QSize m_base;
    std::vector<Anchored> m_controls;
};
