#pragma once

class Connection;

// Copies every row of the three tables from one open base to another, new and empty one, IDs
// included, in one transaction on the target: a file to a server, a server to a file, or
// alike. Afterwards the target numbers new rows after the copied ones.
namespace BaseCopy {

struct Counts {
    long domains = 0;
    long files = 0;
    long accounts = 0;
};

Counts copyAll(Connection& from, Connection& to);
// The same inside a transaction the caller holds open on the target.
Counts copyRows(Connection& from, Connection& to);

} // namespace BaseCopy
