#pragma once

#include "core/TestSupport.h"
#include "tools/admin/AdminTool.h"

#include <QStringList>
#include <QTextStream>

// lexivar-admin run inside the test, what it writes to its output and its errors kept.
class AdminToolFixture : public LexivarTest {
protected:
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        return runAdminTool(args, o, e);
    }
    QString out;
    QString err;
};
