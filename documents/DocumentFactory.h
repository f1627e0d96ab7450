#pragma once

#include <QString>

class AbstractDocument;
class QWidget;
struct LockOwner;

enum class LockChoice { ReadOnly, Anyway, Cancel };
// Tells that someone else has the document open and asks what to do; without mayOpenAnyway
// only Open Read-Only and Cancel are offered.
LockChoice askAboutLock(const QString& path, const LockOwner& owner, bool mayOpenAnyway = true);

// Opens a path as the document class registered for its kind; other kinds go to the desktop.
// The result may be invalid (the caller deletes it) or null (nothing to show here). A document
// someone else has open is opened read-only, anyway, or not at all, as the user chooses; one
// opened for writing holds its lock file until it goes.
AbstractDocument* createDocument(const QString& path, QWidget* parent = nullptr);

// Copies the built-in template of a suffix over its favourite, made writable; tells the user
// and returns false when it cannot.
bool seedFavouriteTemplate(const QString& suffix);

// Makes a new file "<folder>/<fileName>" (numbered when taken) as a copy of the favourite
// template of its suffix, seeding the favourite from the built-in template first. Returns the
// new path, or an empty string when no file could be made (the user has been told why).
QString createNewDocument(const QString& folder, const QString& fileName);
