#pragma once

#include <QString>
#include <exception>

// The one error type of the program: the number and description the user sees in the error box.
class AppError : public std::exception {
public:
    AppError(long number, QString description)
        : m_number(number), m_description(std::move(description)) {}

    long number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return "AppError"; }

private:
    long m_number;
    QString m_description;
};

// Error numbers the windows test for or the user may see.
namespace ErrorNumber {
constexpr long InvalidCall = 5;
constexpr long FileNotFound = 53;
constexpr long InputPastEnd = 62;
constexpr long PathFileAccess = 75;
constexpr long PathNotFound = 76;
constexpr long ItemNotFound = 3265;
constexpr long NoCurrentRecord = 3021;
constexpr long NotUpdatable = 3251;
constexpr long ProviderGeneric = -2147467259;  // 0x80004005
constexpr long NotValidPassword = -2147217843; // 0x80040E4D
constexpr long ReadOnly = -2147217911;         // 0x80040E09
constexpr long SqlError = -2147217900;         // 0x80040E14
constexpr long Integrity = -2147217873;        // 0x80040E2F
} // namespace ErrorNumber
