#pragma once

#include <QString>
#include <cstdint>

// Starts a program or opens a document through the shell. Operation 1 "open", 2 "print",
// 3 "explore", 4 "play". A window handle of 0 becomes the desktop's. True when the shell
// accepted; otherwise false after the error box.
bool shellExecute(const QString& file, std::int32_t showCommand, const QString& parameters,
                  const QString& directory, std::int32_t operation, std::int32_t& windowHandle);

// The handle that stands for the desktop window.
constexpr std::int32_t kDesktopWindow = 1;
