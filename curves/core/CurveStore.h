#pragma once

#include "CurveNotice.h"
#include "Verdict.h"

#include <QFileDevice>
#include <QSqlDatabase>
#include <QString>
#include <QVector>
#include <memory>

namespace IVCurve {

class CurveGraphModel;
class CurveTreeModel;

// The open SQLite file of one curve document and the two models over it. A file that is
// missing, not a database or damaged leaves the store unopened, without models. What it could
// not do, or must tell, goes out as notices (see setNoticeHandler); it shows nothing itself.
class CurveStore
{
public:
    enum class Access {
        AsFileAllows, // read-only only when the file cannot be written
        ReadOnly, // never written, whatever the file allows (someone else has it open)
    };
    explicit CurveStore(const QString& filePath, Access access = Access::AsFileAllows);
    ~CurveStore();
    CurveStore(const CurveStore&) = delete;
    CurveStore& operator=(const CurveStore&) = delete;

    bool isOpen() const { return m_opened; }
    // The file cannot be written: it was opened as it is, without upgrading, and saves fail.
    bool isReadOnly() const { return m_readOnly; }
    CurveTreeModel* treeModel() const { return m_treeModel.get(); }
    CurveGraphModel* graphModel() const { return m_graphModel.get(); }
    QSqlDatabase database() const { return m_database; }
    QString connectionName() const { return m_connectionName; }

    // Makes sure that what is written lands in the file at the document's path. When the file
    // was deleted, moved or replaced while open, SQLite refuses to write to it any more: the
    // whole database is then written out at the path again and the connection moves to it.
    // False, with the reason, when that failed.
    bool ensureFileAtPath(QString* error);
    // What to tell the user when the file is read-only: changes to it cannot be saved.
    CurveNotice readOnlyNotice() const;

    // Where notices go: why the file could not be opened, the warnings of the models (a failed
    // query, a curve not found) and, when the file turned out to be read-only without the user
    // asking for it, readOnlyNotice(). Those given before a handler was set (while the file was
    // opened) are held and handed to it first, in order; with no handler they stay held.
    void setNoticeHandler(const CurveNoticeHandler& handler);
    const QVector<CurveNotice>& heldNotices() const { return m_heldNotices; }
    // The most notices held for a handler still to come; later ones only go to the log.
    static constexpr int maxHeldNotices = 100;

    // What the strings of this file must reach against their data sheet: the defaults until
    // the user set them; a value out of 0–100 % reads as its default.
    VerdictTolerances tolerances() const;
    // Writes them into the file at once (a table older versions do not read).
    bool setTolerances(const VerdictTolerances& tolerances, QString* error);

private:
    // Which file a path names: device and inode.
    struct FileIdentity
    {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const FileIdentity& other) const
        {
            return device == other.device && inode == other.inode;
        }
    };
    static bool identify(const QString& path, FileIdentity* identity);

    bool open(const QString& filePath, Access access, QString* error);
    void notify(const CurveNotice& notice);

    QString m_filePath;
    FileIdentity m_identity;
    QFileDevice::Permissions m_permissions;
    QString m_connectionName;
    QSqlDatabase m_database;
    bool m_opened = false;
    bool m_readOnly = false;
    std::unique_ptr<CurveTreeModel> m_treeModel;
    std::unique_ptr<CurveGraphModel> m_graphModel;
    CurveNoticeHandler m_noticeHandler;
    QVector<CurveNotice> m_heldNotices;
};

} // namespace IVCurve
