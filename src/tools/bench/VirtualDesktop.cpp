#include "tools/bench/VirtualDesktop.h"

#include "tools/bench/DesktopProbe.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTextStream>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStartDeadlineMs = 30000;

} // namespace

VirtualDesktop::VirtualDesktop() {
    // A server that has just ended may still hold its display for a moment: try again.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = startServer();
    }
    if (!started) {
        m_display.clear();
        return;
    }
    launch(u"openbox"_s, {});
    launch(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s,
                         u"pixel"_s, u"--width"_s, u"60"_s, u"--heighttype"_s, u"pixel"_s,
                         u"--height"_s, u"28"_s, u"--transparent"_s, u"false"_s});
    DesktopProbe probe(m_display);
    QElapsedTimer waited;
    waited.start();
    // trayer's panel is there once trayer owns the notification area.
    while (!probe.exists(notificationArea())) {
        if (waited.elapsed() > kStartDeadlineMs) {
            QTextStream(stderr) << "la zone de notification (trayer) n'apparaît pas\n";
            m_display.clear();
            return;
        }
        QThread::msleep(20);
    }
}

VirtualDesktop::~VirtualDesktop() {
    // The last started goes first: the server outlives its clients.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        (*it)->terminate();
        if (!(*it)->waitForFinished(5000)) {
            (*it)->kill();
            (*it)->waitForFinished(5000);
        }
    }
}

bool VirtualDesktop::startServer() {
    // The server takes the first free display and writes its number on its output.
    QProcess& server = launch(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
                                          u"1024x640x24"_s, u"-nolisten"_s, u"tcp"_s});
    if (!server.waitForStarted(kStartDeadlineMs)) {
        QTextStream(stderr) << "Xvfb ne démarre pas\n";
        return false;
    }
    QByteArray number;
    QElapsedTimer waited;
    waited.start();
    while (!number.contains('\n') && waited.elapsed() < kStartDeadlineMs &&
           server.state() == QProcess::Running) {
        server.waitForReadyRead(1000);
        number += server.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        QTextStream(stderr) << "Xvfb ne donne pas de numéro d'écran\n";
        return false;
    }
    m_display = ':' + number.trimmed();
    while (!DesktopProbe(m_display).connected()) {
        if (waited.elapsed() > kStartDeadlineMs || server.state() != QProcess::Running) {
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

QProcess& VirtualDesktop::launch(const QString& program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!m_display.isEmpty()) {
        environment.insert(u"DISPLAY"_s, QString::fromLatin1(m_display));
    }
    process->setProcessEnvironment(environment);
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, arguments);
    m_processes.push_back(std::move(process));
    return *m_processes.back();
}
