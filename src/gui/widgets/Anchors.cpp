#include "gui/widgets/Anchors.h"

#include "core/files/ProgramFolder.h"

#include "core/files/SettingsFile.h"

using namespace Qt::StringLiterals;

namespace {
const QString kSection = u"Windows"_s;
}

void Anchors::add(QWidget* control, int edges) {
    m_controls.push_back({control, control->geometry(), edges});
}

void Anchors::fit(QSize size) const {
    const int dx = std::max(0, size.width() - m_base.width());
    const int dy = std::max(0, size.height() - m_base.height());
    for (const Anchored& a : m_controls) {
        if (!a.control) {
            continue;
        }
        QRect g = a.base;
        if ((a.edges & Left) && (a.edges & Right)) {
            g.setWidth(g.width() + dx);
        } else if (a.edges & Right) {
            g.translate(dx, 0);
        } else if (a.edges & CentreX) {
            g.translate(dx / 2, 0);
        }
        if ((a.edges & Top) && (a.edges & Bottom)) {
            g.setHeight(g.height() + dy);
        } else if (a.edges & Bottom) {
            g.translate(0, dy);
        }
        a.control->setGeometry(g);
    }
}

QSize Anchors::storedSize(const QString& window, QSize base) {
    const QStringList parts =
        readSetting(kSection, window, QString(), ProgramFolder::settingsFile())
            .split(u'x', Qt::SkipEmptyParts);
    if (parts.size() != 2) {
        return base;
    }
    return QSize(parts[0].toInt(), parts[1].toInt()).expandedTo(base);
}

void Anchors::storeSize(const QString& window, QSize size) {
    if (!ProgramFolder::settingsFile().isEmpty()) {
        writeSetting(kSection, window,
                     QString::number(size.width()) + u"x"_s + QString::number(size.height()),
                     ProgramFolder::settingsFile());
    }
}
