#pragma once

#include <QString>

class AppError;
struct ServerSettings;
struct pg_conn;
struct pg_result;

// Turns a server failure into the error the user sees, with the numbers and French messages of
// the file backend's (see SqliteError).
AppError serverError(const pg_result* result, const pg_conn* connection);

// A connection the server refused or never answered within the settings' time-out.
AppError connectionError(const pg_conn* connection, const ServerSettings& settings);
