#pragma once

#include <QString>

// Every key of Kestrovan's settings store, with the default a reader uses when nothing is stored.
// The key strings are what users' stored settings hold: they never change. The data logger's
// own store keeps its keys in DataLogger/LoggerSettings.h; what both programs share is in
// LoggerHandOver.h.
namespace SettingsKeys {
// The language of the user interface and of the report layouts, a locale name ("de", "en").
inline QString locale()
{
    return QStringLiteral("locale");
}
// The language shown when none has been chosen yet.
inline QString defaultLocale()
{
    return QStringLiteral("en");
}
// Set (true) when the language is taken from the desktop at every start; absent otherwise.
inline QString localeFollowsSystem()
{
    return QStringLiteral("localeFollowsSystem");
}
constexpr bool DefaultLocaleFollowsSystem = false;

// The projects root folder; read and tidied by Folders::projectsFolder. No default: the first
// start makes one.
inline QString rootDir()
{
    return QStringLiteral("Directories/RootDir");
}
// Where the last CSV import (results, curves) was read from; the projects root when unset.
inline QString lastImportDir()
{
    return QStringLiteral("Directories/LastImportDir");
}
// Where the last curve export (CSV, PDF report) was written; the projects root when unset.
inline QString lastExportDir()
{
    return QStringLiteral("Directories/LastExportDir");
}
// Where the last PDF of a report or diagram was written; empty when unset.
inline QString lastPdfExportDir()
{
    return QStringLiteral("Directories/LastPdfExportDir");
}
// The logo file last chosen for curve reports; the projects root when unset.
inline QString logoFile()
{
    return QStringLiteral("Directories/logoFile");
}

// The main window's geometry and dock/toolbar state (QMainWindow's own bytes); empty when unset.
inline QString mainWindowGeometry()
{
    return QStringLiteral("Windows/MainWindowGeometry");
}
inline QString mainWindowState()
{
    return QStringLiteral("Windows/MainWindowState");
}

// Whether the welcome dialog is shown at start.
inline QString welcomeShow()
{
    return QStringLiteral("Welcome/show");
}
constexpr bool DefaultWelcomeShow = true;

// The columns shown in the curve tree, a bit mask over the curve columns.
inline QString curvesColumnMask()
{
    return QStringLiteral("Curves/columnMask");
}
constexpr int DefaultCurvesColumnMask = 1;
// Whether module choosers list the favourite modules only.
inline QString curvesFavouritesOnly()
{
    return QStringLiteral("Curves/ShowModuleFavouritesOnly");
}
constexpr bool DefaultCurvesFavouritesOnly = false;
// Whether the warning that curve details are saved automatically is no longer shown.
inline QString curvesHideSaveWarning()
{
    return QStringLiteral("Curves/HideAutomaticSaveWarning");
}
constexpr bool DefaultCurvesHideSaveWarning = false;
} // namespace SettingsKeys
