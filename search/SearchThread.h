#pragma once

#include "SearchCriteria.h"

#include <QFileInfo>
#include <QList>
#include <QThread>
#include <atomic>

// One search's walk of the projects folder, off the GUI thread. Hits are handed over in batches
// (hitsFound), at the latest a moment after they were found, so the results list grows while the
// walk goes on; walkFinished follows the last batch. requestStop ends the walk at the next entry,
// also in the middle of reading a large report.
class SearchThread : public QThread
{
    Q_OBJECT
public:
    SearchThread(const QString& root, const SearchCriteria& criteria, QObject* parent = nullptr);
    ~SearchThread() override;

    void requestStop() { m_stop.store(true); }
    bool stopRequested() const { return m_stop.load(); }

    // A batch is handed over when it holds this many hits or is this old.
    static constexpr int BatchSize = 256;
    static constexpr int BatchMilliseconds = 40;

signals:
    void hitsFound(const QList<QFileInfo>& hits);
    void walkFinished(bool completed);

protected:
    void run() override;

private:
    const QString m_root;
    const SearchCriteria m_criteria;
    std::atomic_bool m_stop { false };
};
