#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <vector>

class QLabel;
class QProgressBar;

// The one progress window: a title and a bar while a list fills. While it is up, every control
// of the calling window is disabled; afterwards each gets its former state back.
class ProgressWindow : public QWidget {
    Q_OBJECT

public:
    static ProgressWindow& instance();

    void start(std::int32_t minimum, std::int32_t maximum, const QString& title, QWidget* caller);
    void increment();

    void setValue(std::int32_t value);
    std::int32_t value() const { return m_value; }
    void setMinimum(std::int32_t value);
    std::int32_t minimum() const { return m_min; }
    void setMaximum(std::int32_t value) { m_max = value; }
    std::int32_t maximum() const { return m_max; }
    void setTitle(const QString& title);
    QString title() const;

    bool isLoaded() const { return m_loaded; }
    // True while up; otherwise true once after a run.
    bool justRan();

    // Closes the window (unlocking the calling window) when it is up.
    void unload();

    // What the bar shows now (0..100).
    int barValue() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum ControlState : std::uint8_t {
        Disabled = 0,
        Enabled = 1,
        ContainerDisabled = 3,
        ContainerEnabled = 4,
        Untouched = 5
    };

    ProgressWindow();
    void load();
    void refreshBar();
    void lockControls(QWidget* form);
    void unlockControls(QWidget* form);
    static std::vector<QWidget*> controlsOf(QWidget* form);

    QProgressBar* m_bar;
    QLabel* m_title;
    std::int32_t m_min = 0;
    std::int32_t m_max = 0;
    std::int32_t m_value = 0;
    bool m_loaded = false;
    bool m_justRan = false;
    QPointer<QWidget> m_caller;
    QElapsedTimer m_sinceEvents;
    std::vector<std::uint8_t> m_states;
};
