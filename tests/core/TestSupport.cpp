#include "TestSupport.h"

#include "core/Clock.h"

#include <QFile>
#include <memory>

void LexivarTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    Dialogs::install(std::move(scripted));
}

void LexivarTest::TearDown() {
    Dialogs::install(nullptr);
    dialogs = nullptr;
    Clock::setNow(std::nullopt);
}

void LexivarTest::writeFile(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray LexivarTest::readFile(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}
