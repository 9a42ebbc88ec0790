#pragma once

#include "core/TestSupport.h"
#include "gui/dialogs/ScriptedDialogs.h"

#include <QDialog>

// The running gui test's dialogs: the gui test program installs fresh scripted dialogs before
// each test, so no test ever blocks on a real one.
extern ScriptedDialogs* dialogs;

// A window's control by its name; the test fails when there is none.
template <typename T = QWidget> T* findControl(const QObject* window, const QString& name) {
    T* c = window->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}
