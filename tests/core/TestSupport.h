#pragma once

#include "gui/dialogs/ScriptedDialogs.h"

#include <QDialog>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

// A test with its own temporary folder and scripted dialogs.
class LexivarTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return m_dir.filePath(name); }
    static void writeFile(const QString& file, const QByteArray& bytes);
    static QByteArray readFile(const QString& file);

    ScriptedDialogs* dialogs = nullptr;

private:
    QTemporaryDir m_dir;
};

// A window's control by its name; the test fails when there is none.
template <typename T = QWidget> T* findControl(const QObject* window, const QString& name) {
    T* c = window->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

// Lets gtest print QStrings in failure messages.
std::ostream& operator<<(std::ostream& os, const QString& s);
