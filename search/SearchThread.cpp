#include "SearchThread.h"

#include "EntryMatcher.h"
#include "FolderWalk.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMutexLocker>

SearchThread::SearchThread(const QString& root, const SearchCriteria& criteria, QObject* parent)
    : QThread(parent)
    , m_root(root)
    , m_criteria(criteria)
{ }

SearchThread::~SearchThread()
{
    requestStop();
    wait();
}

QList<QFileInfo> SearchThread::takeHits()
{
    QMutexLocker lock(&m_mutex);
    m_noticeWaiting = false;
    QList<QFileInfo> hits;
    hits.swap(m_pending);
    return hits;
}

void SearchThread::putAside(QList<QFileInfo>& batch)
{
    if (batch.isEmpty())
        return;
    bool notify = false;
    {
        QMutexLocker lock(&m_mutex);
        m_pending.append(batch);
        notify = !m_noticeWaiting;
        m_noticeWaiting = true;
    }
    batch.clear();
    if (notify)
        emit hitsAvailable();
}

void SearchThread::run()
{
    const EntryMatcher matcher(m_criteria);
    QList<QFileInfo> batch;
    QElapsedTimer oldest;

    const bool completed = FolderWalk::walk(m_root, [&](const QFileInfo& entry) {
        if (m_stop.load(std::memory_order_relaxed))
            return false;
        if (matcher.matches(entry, &m_stop)) {
            // The listing read the entry's status; make sure it stays with the entry, so the
            // results list only ever reads what is cached.
            entry.size();
            if (batch.isEmpty())
                oldest.start();
            batch.append(entry);
        }
        if (!batch.isEmpty() && (batch.size() >= BatchSize || oldest.elapsed() >= BatchMilliseconds))
            putAside(batch);
        return true;
    });
    putAside(batch);
    emit walkFinished(completed && !m_stop.load());
}
