#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon, drawn at any size.
namespace AppIcon {
QPixmap pixmap(int size);
QIcon icon();
} // namespace AppIcon
