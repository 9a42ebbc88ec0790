#include "core/ErrorReporter.h"

#include "core/AppError.h"
#include "core/text/LineBreak.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

class StandardErrorReporter : public ErrorReporter {
public:
    void report(const QString& procedure, long number, const QString& description,
                ErrorWording wording) override {
        QTextStream err(stderr);
        err << procedure << u": "_s << errorBoxText(number, description, wording) << Qt::endl;
    }
};

std::unique_ptr<ErrorReporter>& current() {
    static std::unique_ptr<ErrorReporter> reporter;
    return reporter;
}

} // namespace

QString errorBoxText(long number, const QString& description, ErrorWording wording) {
    const QString head = wording == ErrorWording::Standard ? u"Une erreur #"_s : u"Une erreur  #"_s;
    const QString tail =
        wording == ErrorWording::Standard ? u" s\u2019est produite:"_s : u" s'est produite:"_s;
    return head + QString::number(number) + tail + kCrLf + kCrLf + description;
}

ErrorReporter& ErrorReporter::get() {
    auto& r = current();
    if (!r) {
        r = std::make_unique<StandardErrorReporter>();
    }
    return *r;
}

void ErrorReporter::install(std::unique_ptr<ErrorReporter> reporter) {
    current() = std::move(reporter);
}

void reportError(const QString& procedure, long number, const QString& description,
                 ErrorWording wording) {
    ErrorReporter::get().report(procedure, number, description, wording);
}

void reportError(const QString& procedure, const AppError& error, ErrorWording wording) {
    reportError(procedure, error.number(), error.description(), wording);
}
