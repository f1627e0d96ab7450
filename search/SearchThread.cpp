#include "SearchThread.h"

#include "EntryMatcher.h"
#include "FolderWalk.h"

#include <QDateTime>
#include <QElapsedTimer>

SearchThread::SearchThread(const QString& root, const SearchCriteria& criteria, QObject* parent)
    : QThread(parent)
    , m_root(root)
    , m_criteria(criteria)
{
    // Batches cross from the walk's thread to the GUI thread by queued signals.
    qRegisterMetaType<QList<QFileInfo>>("QList<QFileInfo>");
}

SearchThread::~SearchThread()
{
    requestStop();
    wait();
}

void SearchThread::run()
{
    const EntryMatcher matcher(m_criteria);
    QList<QFileInfo> batch;
    QElapsedTimer sinceHandOver;
    sinceHandOver.start();
    const auto handOver = [&] {
        if (!batch.isEmpty())
            emit hitsFound(batch);
        batch.clear();
        sinceHandOver.restart();
    };

    const bool completed = FolderWalk::walk(m_root, [&](const QFileInfo& entry) {
        if (m_stop.load(std::memory_order_relaxed))
            return false;
        if (matcher.matches(entry, &m_stop)) {
            // Read what the results list shows here, so the list only reads cached values.
            entry.size();
            entry.lastModified();
            batch.append(entry);
        }
        if (batch.size() >= BatchSize || (!batch.isEmpty() && sinceHandOver.elapsed() >= BatchMilliseconds))
            handOver();
        return true;
    });
    handOver();
    emit walkFinished(completed && !m_stop.load());
}
