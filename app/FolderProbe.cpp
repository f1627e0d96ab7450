#include "FolderProbe.h"

#include "platform/SystemInfo.h"

#include <QDir>
#include <QFileInfo>

bool FolderProbe::FileState::operator==(const FileState& other) const
{
    return exists == other.exists && size == other.size && modified == other.modified;
}

FolderProbe::~FolderProbe() = default;

namespace {
class SystemProbe : public FolderProbe
{
public:
    bool isFolder(const QString& path) override { return QFileInfo(path).isDir(); }
    QStringList entries(const QString& folder) override
    {
        return QDir(folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    QStringList subfolders(const QString& folder) override
    {
        QStringList paths;
        const QFileInfoList infos
            = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
        for (const QFileInfo& info : infos)
            paths.append(info.absoluteFilePath());
        return paths;
    }
    FileState state(const QString& path) override
    {
        const QFileInfo info(path);
        FileState state;
        state.exists = info.exists();
        if (state.exists) {
            state.size = info.size();
            state.modified = info.lastModified();
        }
        return state;
    }
    bool isOnNetwork(const QString& path) override { return SystemInfo::isOnNetworkFileSystem(path); }
};
} // namespace

namespace {
std::shared_ptr<FolderProbe>& replacement()
{
    static std::shared_ptr<FolderProbe> probe;
    return probe;
}
} // namespace

std::shared_ptr<FolderProbe> FolderProbe::system()
{
    if (replacement())
        return replacement();
    return std::make_shared<SystemProbe>();
}

void FolderProbe::replaceSystem(std::shared_ptr<FolderProbe> probe)
{
    replacement() = std::move(probe);
}
