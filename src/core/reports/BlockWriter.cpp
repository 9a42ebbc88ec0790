#include "core/reports/BlockWriter.h"

#include <QFileDevice>

BlockWriter::BlockWriter(QFileDevice& file) : m_file(file), m_thread([this] { run(); }) {}

BlockWriter::~BlockWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool BlockWriter::write(QByteArray& block) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_hasPending || m_failed; });
    if (m_failed) {
        return false;
    }
    m_pending.swap(block);
    block.resize(0);
    m_hasPending = true;
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool BlockWriter::finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return (!m_hasPending && !m_writing) || m_failed; });
    return !m_failed;
}

void BlockWriter::run() {
    QByteArray block;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_hasPending || m_stopping; });
        if (m_stopping) {
            return;
        }
        // The written block's room goes back with the next swap.
        block.swap(m_pending);
        m_hasPending = false;
        m_writing = true;
        lock.unlock();
        m_changed.notify_all();
        const bool written = m_file.write(block) == block.size();
        block.resize(0);
        lock.lock();
        m_writing = false;
        m_failed = m_failed || !written;
        m_changed.notify_all();
    }
}
