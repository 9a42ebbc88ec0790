#include "gui/widgets/ProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Pending events run when the bar moves, and at least this often while it does not.
constexpr qint64 kEventIntervalMs = 40;
constexpr double kLongRun = 1000;

bool isContainer(const QWidget* w) {
    return qobject_cast<const QGroupBox*>(w) != nullptr ||
           w->metaObject() == &QFrame::staticMetaObject;
}

bool ownEnabled(const QWidget* w) {
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

} // namespace

ProgressWindow& ProgressWindow::instance() {
    static ProgressWindow* window = new ProgressWindow; // lives as long as the program
    return *window;
}

ProgressWindow::ProgressWindow()
    : QWidget(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_bar(new QProgressBar(this)), m_title(new QLabel(this)) {
    setObjectName(u"frmProgressBar"_s);
    setWindowTitle(u"Lexivar"_s);
    m_bar->setObjectName(u"ProgressBar"_s);
    m_title->setObjectName(u"lblTitle"_s);
    m_bar->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_bar);
    setMinimumWidth(360);
}

void ProgressWindow::start(std::int32_t minimum, std::int32_t maximum, const QString& title,
                           QWidget* caller) {
    if (minimum >= maximum) {
        unload();
        return;
    }
    if (!m_loaded) {
        lockControls(caller);
    }
    setMinimum(minimum);
    setMaximum(maximum);
    m_caller = caller;
    if (!m_loaded) {
        load();
    }
    if (caller) {
        if (caller->windowHandle() && !windowHandle()) {
            create();
        }
        if (windowHandle() && caller->windowHandle()) {
            windowHandle()->setTransientParent(caller->windowHandle());
        }
        setWindowState(caller->windowState());
    }
    setTitle(title);
    refreshBar();
    QCoreApplication::processEvents();
}

void ProgressWindow::load() {
    m_loaded = true;
    m_bar->setValue(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    show();
    QCoreApplication::processEvents();
}

void ProgressWindow::unload() {
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    hide();
    QApplication::restoreOverrideCursor();
    QCoreApplication::processEvents();
    m_justRan = true;
    unlockControls(m_caller);
    m_caller = nullptr;
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

void ProgressWindow::increment() {
    setValue(m_value + 1);
}

void ProgressWindow::setValue(std::int32_t value) {
    m_value = value;
    if (m_loaded) {
        refreshBar();
    }
}

void ProgressWindow::setMinimum(std::int32_t value) {
    m_min = value;
    m_value = value;
    m_bar->setValue(0);
}

void ProgressWindow::setTitle(const QString& title) {
    m_title->setText(title);
}

QString ProgressWindow::title() const {
    return m_title->text();
}

bool ProgressWindow::justRan() {
    if (m_loaded) {
        return true;
    }
    const bool ran = m_justRan;
    m_justRan = false;
    return ran;
}

int ProgressWindow::barValue() const {
    return m_bar->value();
}

void ProgressWindow::refreshBar() {
    // Computed wide, so no count can overflow; halves round to even.
    const double span = static_cast<double>(m_max) - static_cast<double>(m_min);
    const double percent = span != 0 ? std::nearbyint(m_value / span * 100.0) : 0.0;
    if (m_loaded) {
        if (m_value >= m_max) {
            unload();
            return;
        }
        const int shown = percent >= 100 ? 100 : (percent < 0 ? 0 : static_cast<int>(percent));
        const bool due = !m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventIntervalMs;
        // A long run repaints at most every interval; a short one at every step.
        const bool longRun = static_cast<double>(m_max) - m_min >= kLongRun;
        if (!due && (shown == m_bar->value() || longRun)) {
            return; // nothing new to show yet: the caller's next row matters more
        }
        m_bar->setValue(shown);
    }
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

std::vector<QWidget*> ProgressWindow::controlsOf(QWidget* form) {
    std::vector<QWidget*> out;
    if (!form) {
        return out;
    }
    // The window's own named controls, not the inner parts Qt builds them from.
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(u"qt_"_s) && !w->isWindow()) {
            out.push_back(w);
        }
    }
    return out;
}

void ProgressWindow::lockControls(QWidget* form) {
    const std::vector<QWidget*> controls = controlsOf(form);
    m_states.assign(controls.size(), Untouched);
    for (size_t i = 0; i < controls.size(); ++i) {
        if (!isContainer(controls[i])) {
            m_states[i] = ownEnabled(controls[i]) ? Enabled : Disabled;
            controls[i]->setEnabled(false);
        }
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        if (isContainer(controls[i])) {
            m_states[i] = ownEnabled(controls[i]) ? ContainerEnabled : ContainerDisabled;
            controls[i]->setEnabled(false);
        }
    }
}

void ProgressWindow::unlockControls(QWidget* form) {
    const std::vector<QWidget*> controls = controlsOf(form);
    const size_t n = std::min(controls.size(), m_states.size());
    for (size_t i = 0; i < n; ++i) {
        if (m_states[i] == ContainerDisabled || m_states[i] == ContainerEnabled) {
            controls[i]->setEnabled(m_states[i] == ContainerEnabled);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        if (m_states[i] == Disabled || m_states[i] == Enabled) {
            controls[i]->setEnabled(m_states[i] == Enabled);
        }
    }
}
