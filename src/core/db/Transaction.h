#pragma once

class Connection;

// Takes the database's write lock at once (BEGIN IMMEDIATE), so that what is read inside still
// holds when the writes land: no other user's save can slip between. Rolled back unless
// committed. Never keep one open across a dialog: other users' saves would wait on it.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();

private:
    Connection& m_connection;
    bool m_open = true;
};
