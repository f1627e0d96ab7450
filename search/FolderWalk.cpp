#include "FolderWalk.h"

#include <QDir>
#include <vector>

namespace {
constexpr QDir::SortFlags order = QDir::Name | QDir::IgnoreCase;
constexpr QDir::Filters common = QDir::NoSymLinks | QDir::NoDotAndDotDot;

struct Frame
{
    QFileInfoList folders;
    int next = 0;
};
} // namespace

bool FolderWalk::walk(const QString& root, const std::function<bool(const QFileInfo&)>& visit)
{
    std::vector<Frame> stack;
    // Visits the files of one folder and pushes its subfolders for later.
    const auto enter = [&](const QString& path) {
        const QDir dir(path);
        for (const QFileInfo& file : dir.entryInfoList(QDir::Files | common, order)) {
            if (!visit(file))
                return false;
        }
        stack.push_back(Frame { dir.entryInfoList(QDir::Dirs | common, order), 0 });
        return true;
    };

    if (root.isEmpty())
        return true;
    if (!enter(root))
        return false;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.folders.size()) {
            stack.pop_back();
            continue;
        }
        const QFileInfo folder = top.folders.at(top.next++);
        // The path is taken before the visit: a visited entry may be handed to another thread,
        // and asking a QFileInfo for a path fills a cache that its copies share.
        const QString path = folder.absoluteFilePath();
        if (!visit(folder) || !enter(path))
            return false;
    }
    return true;
}
