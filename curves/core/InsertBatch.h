#pragma once

#include <QSqlDatabase>

namespace IVCurve {

class CurveGraphModel;

// Groups the curve inserts of one import into a single commit. Each commit waits for the disk,
// so thousands of curves inserted one by one take minutes; inside a batch they take a moment.
// The batch commits when it ends: curves that no node refers to are dropped by the next save
// of the tree anyway.
class InsertBatch
{
public:
    explicit InsertBatch(const QSqlDatabase& database);
    ~InsertBatch();
    InsertBatch(const InsertBatch&) = delete;
    InsertBatch& operator=(const InsertBatch&) = delete;

    // Commits now; false when the database refused (the batch is then rolled back).
    bool commit();

private:
    QSqlDatabase m_database;
    bool m_active;
};

} // namespace IVCurve
