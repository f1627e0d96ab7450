#include "DocumentRegistry.h"

#include <QHash>
#include <QSet>

namespace {
struct Registry
{
    QHash<int, DocumentRegistry::Constructor> byKind;
    QSet<int> singleWriters;
    QHash<QString, DocumentRegistry::Constructor> byName;
    QHash<QString, DocumentRegistry::FavouriteCheck> favouriteChecks;
};

Registry& registry()
{
    static Registry r;
    return r;
}
} // namespace

void DocumentRegistry::registerKind(DocumentType type, Constructor constructor, bool singleWriter)
{
    registry().byKind.insert(type, std::move(constructor));
    if (singleWriter)
        registry().singleWriters.insert(type);
    else
        registry().singleWriters.remove(type);
}

bool DocumentRegistry::isSingleWriter(DocumentType type)
{
    return registry().singleWriters.contains(type);
}

void DocumentRegistry::registerNamedFile(const QString& fileName, Constructor constructor)
{
    registry().byName.insert(fileName, std::move(constructor));
}

void DocumentRegistry::registerFavouriteCheck(const QString& suffix, FavouriteCheck check)
{
    registry().favouriteChecks.insert(suffix.toLower(), std::move(check));
}

DocumentRegistry::Constructor DocumentRegistry::constructorFor(DocumentType type)
{
    return registry().byKind.value(type);
}

DocumentRegistry::Constructor DocumentRegistry::constructorForName(const QString& fileName)
{
    return registry().byName.value(fileName);
}

DocumentRegistry::FavouriteCheck DocumentRegistry::favouriteCheckFor(const QString& suffix)
{
    return registry().favouriteChecks.value(suffix.toLower());
}

void DocumentRegistry::clear()
{
    registry() = Registry();
}
