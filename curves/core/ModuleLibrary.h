#pragma once

#include "CurveModuleRow.h"
#include "CurveNotice.h"

#include <QHash>
#include <QList>
#include <QString>

namespace IVCurve {

// The PV module library (modules.db in the data folder), shared by every curve document over
// one process-wide connection. The preloaded library ships in the resources and is copied
// into the data folder the first time it is needed and missing.
class ModuleLibrary
{
public:
    static ModuleLibrary& instance();
    // Closes the connection; the next use opens the library again.
    static void shutdown();
    static QString libraryPath();

    // Where the library's notices go (a missing or unreadable file, a failed query): the curve
    // window shows them; until it sets a handler they go to the log.
    void setNoticeHandler(const CurveNoticeHandler& handler) { m_noticeHandler = handler; }

    // Opens the library if it is not open; reports a missing or unreadable file.
    bool open();
    bool isOpen() const { return m_opened; }

    QList<CurveModuleRow> select(const QString& condition);
    QList<CurveModuleRow> all() { return select(QStringLiteral("1=1")); }
    QList<CurveModuleRow> favourites() { return select(QStringLiteral("Favourite=1")); }
    // The module with the id; false when there is not exactly one.
    bool module(uint id, CurveModuleRow* row);
    // The new module's id, 0 on failure.
    uint insert(const CurveModuleRow& row);
    bool update(const CurveModuleRow& row);
    bool remove(uint id);

    struct ImportCount
    {
        int added = 0;
        int updated = 0;
    };
    // Adds modules read from a published list in one transaction. A module whose description
    // matches one the library already has from such a list (not made by the user) updates it,
    // keeping its id and favourite mark; the user's own modules are never changed.
    bool importModules(const QList<CurveModuleRow>& modules, ImportCount* count, QString* error);

private:
    ModuleLibrary() = default;
    bool seed(const QString& path);
    // Libraries written before the cell count was kept gain its column on their first write.
    bool ensureCellsColumn();
    void notify(CurveNotice::Kind kind, const QString& text);

    QString m_connectionName;
    bool m_opened = false;
    bool m_hasCells = false;
    // Every curve that names a module looks it up when it is loaded.
    QHash<uint, CurveModuleRow> m_byId;
    CurveNoticeHandler m_noticeHandler;
};

} // namespace IVCurve
