#pragma once

#include <QString>

// A tmpfs of a few hundred kilobytes mounted on a folder, to see what a full disk does. Mounting
// needs root: `mounted()` is false otherwise.
class SmallDisk {
public:
    SmallDisk(const QString& folder, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    // Takes every free byte but `leaveKilobytes`, so a larger write fails with "No space left on
    // device".
    void fill(int leaveKilobytes);

private:
    QString m_folder;
    bool m_mounted = false;
};
