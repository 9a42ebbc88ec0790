#pragma once

#include <QObject>

// Announces that a record was stored or deleted, so that the open result lists follow at once.
class RecordChanges : public QObject {
    Q_OBJECT

public:
    static RecordChanges& instance();

signals:
    void recordsChanged();

private:
    RecordChanges() = default;
};
