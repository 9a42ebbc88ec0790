#pragma once

#include <QByteArray>
#include <condition_variable>
#include <mutex>
#include <thread>

class QFileDevice;

// Writes blocks to a file on a thread of its own, one block at a time, while the caller fills
// the next: the tens of megabytes of a listing then cost the user no wait on the file system.
class BlockWriter {
public:
    explicit BlockWriter(QFileDevice& file);
    // Waits for the block under way; blocks not yet written are dropped.
    ~BlockWriter();

    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Hands `block` over and gives back an empty one (with the room of an earlier block); false
    // when an earlier block could not be written, and nothing is handed over then.
    bool write(QByteArray& block);
    // Waits until every block handed over is written; false when one could not be.
    bool finish();

private:
    void run();

    QFileDevice& m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    QByteArray m_pending;
    bool m_hasPending = false;
    bool m_writing = false;
    bool m_failed = false;
    bool m_stopping = false;
    std::thread m_thread;
};
