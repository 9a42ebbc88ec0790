#include "gui/widgets/ProgressFeed.h"

#include "gui/widgets/ProgressWindow.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t clamped(qint64 value) {
    return static_cast<std::int32_t>(
        std::clamp<qint64>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

ProgressFeed::ProgressFeed(QWidget* caller, QString title, qint64 showFrom)
    : m_caller(caller), m_title(std::move(title)), m_showFrom(showFrom) {}

ProgressFeed::~ProgressFeed() {
    if (m_shown) {
        ProgressWindow::instance().unload();
    }
}

ImportProgress ProgressFeed::callback() {
    return [this](qint64 done, qint64 total) {
        if (!m_shown && total >= m_showFrom) {
            ProgressWindow::instance().start(0, clamped(total), m_title, m_caller);
            m_shown = true;
        }
        if (m_shown) {
            ProgressWindow::instance().setValue(clamped(done));
        }
    };
}
