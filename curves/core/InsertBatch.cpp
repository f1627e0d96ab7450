#include "InsertBatch.h"

namespace IVCurve {

InsertBatch::InsertBatch(const QSqlDatabase& database)
    : m_database(database)
    , m_active(m_database.isOpen() && m_database.transaction())
{ }

InsertBatch::~InsertBatch()
{
    commit();
}

bool InsertBatch::commit()
{
    if (!m_active)
        return true;
    m_active = false;
    if (m_database.commit())
        return true;
    m_database.rollback();
    return false;
}

} // namespace IVCurve
