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
class frmProgressBar : public QWidget {
    Q_OBJECT

public:
    static frmProgressBar& instance();

    void ProgressBarInitialize(std::int32_t lMin, std::int32_t lMax, const QString& sTitle,
                               QWidget* frmForm);
    void ProgressBarIncrement();

    void setProgressBarValue(std::int32_t value);
    std::int32_t ProgressBarValue() const { return m_value; }
    void setProgressBarMin(std::int32_t value);
    std::int32_t ProgressBarMin() const { return m_min; }
    void setProgressBarMax(std::int32_t value) { m_max = value; }
    std::int32_t ProgressBarMax() const { return m_max; }
    void setProgressBarTitle(const QString& title);
    QString ProgressBarTitle() const;

    bool Loaded() const { return m_loaded; }
    // True while up; otherwise true once after a run.
    bool ProgressBarJustRan();

    // Closes the window (unlocking the calling window) when it is up.
    void Unload();

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

    frmProgressBar();
    void Load();
    void Update();
    void LockFormControls(QWidget* form);
    void UnlockFormControls(QWidget* form);
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
