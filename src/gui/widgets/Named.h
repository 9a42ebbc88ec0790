#pragma once

#include <QString>

// Gives a control the name tests and the windows' own code find it by.
template <typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
