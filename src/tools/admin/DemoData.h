#pragma once

class Connection;

// Fills a new database with a few domains, bilingual records and three accounts.
namespace DemoData {

inline constexpr const char* kAdminLogin = "admin";
inline constexpr const char* kAdminPassword = "admin";
inline constexpr const char* kDatabasePassword = "lexivar-demo";

void fill(Connection& connection);

} // namespace DemoData
