#pragma once

#include "DocumentType.h"

#include <QString>
#include <functional>
#include <vector>

class AbstractDocument;
class QWidget;

// Which class opens which kind of document. Each subsystem registers its own document class
// at start-up; the factory only looks things up here. Kinds without a class go to the desktop.
namespace DocumentRegistry {
using Constructor = std::function<AbstractDocument*(const QString& path, QWidget* parent)>;
// Runs before a new document is copied from an existing favourite template of a suffix; it may
// offer to replace (delete) a favourite that this version can no longer use.
using FavouriteCheck = std::function<void(const QString& favouritePath)>;

// singleWriter: the kind's files must never be open for writing twice (a database that a second
// writer would damage); someone else's lock then allows opening read-only only.
void registerKind(DocumentType type, Constructor constructor, bool singleWriter = false);
bool isSingleWriter(DocumentType type);
// A document opened by its exact file name, whatever the kind ("Search Results").
void registerNamedFile(const QString& fileName, Constructor constructor);
void registerFavouriteCheck(const QString& suffix, FavouriteCheck check);

// A kind the user can make with New: the action that makes it and the file name it starts as.
// Texts are translation sources of the "MainWindow" context, where they have always been.
struct NewKind
{
    DocumentType type;
    const char* actionName;
    const char* actionText;
    // Its icon, in :/res/fileTypes/<icon>.png.
    const char* icon;
    const char* fileName;
    const char* suffix;
};
// The kinds New offers, in the order of the menus; a fixed list, so that the actions are there
// (by name, in order) whichever document classes are registered.
const std::vector<NewKind>& newKinds();

Constructor constructorFor(DocumentType type);
Constructor constructorForName(const QString& fileName);
FavouriteCheck favouriteCheckFor(const QString& suffix);

// Forgets every registration (tests).
void clear();
} // namespace DocumentRegistry
