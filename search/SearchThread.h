#pragma once

#include "SearchCriteria.h"

#include <QFileInfo>
#include <QList>
#include <QMutex>
#include <QThread>
#include <atomic>

// One search's walk of the projects folder, off the GUI thread. Hits are put aside in batches, at
// the latest a moment after they were found, and hitsAvailable tells the GUI thread to take them
// (takeHits). There is never more than one such notice waiting: however far the walk runs ahead,
// the GUI thread takes everything found so far in one go, so its event queue cannot fill up with
// batches. walkFinished comes after the last hit was put aside. requestStop ends the walk at the
// next entry, also in the middle of reading a large report.
class SearchThread : public QThread
{
    Q_OBJECT
public:
    SearchThread(const QString& root, const SearchCriteria& criteria, QObject* parent = nullptr);
    ~SearchThread() override;

    void requestStop() { m_stop.store(true); }
    bool stopRequested() const { return m_stop.load(); }

    // The hits put aside since the last call, in the order found.
    QList<QFileInfo> takeHits();

    // Hits are put aside when this many have been found or the oldest is this old.
    static constexpr int BatchSize = 256;
    static constexpr int BatchMilliseconds = 40;

signals:
    void hitsAvailable();
    void walkFinished(bool completed);

protected:
    void run() override;

private:
    void putAside(QList<QFileInfo>& batch);

    const QString m_root;
    const SearchCriteria m_criteria;
    std::atomic_bool m_stop { false };
    QMutex m_mutex;
    QList<QFileInfo> m_pending;
    bool m_noticeWaiting = false;
};
