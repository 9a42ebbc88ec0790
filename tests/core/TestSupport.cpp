#include "core/TestSupport.h"

#include "core/Clock.h"

#include <QFile>

RecordingReporter* reported = nullptr;

void LexivarTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
}

void LexivarTest::TearDown() {
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

void RecordingReporter::report(const QString& procedure, long number, const QString& description,
                               ErrorWording wording) {
    errors.push_back({procedure, number, description, wording});
}

std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}
