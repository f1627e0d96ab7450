#pragma once

#include "CurveModuleRow.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace IVCurve {

// A published module list in the comma-separated layout of the public CEC module database as
// simulation tools ship it: a header row naming the columns, a row of units and a row of
// notes, then one module a row. Only what the module library holds is taken: the name, the
// reference Isc, Voc, Imp and Vmp, the temperature coefficients alpha_sc (A/°C) and beta_oc
// (V/°C), the series resistance and the cells in series.
struct ModuleListFile
{
    QList<CurveModuleRow> modules;
    // Rows left out because a value was missing or impossible (Imp above Isc, Vmp above Voc,
    // no cells, ...).
    int skipped = 0;
    // Set when the file is not such a list; modules is then empty.
    QString error;

    // The largest file read: the full list is a few megabytes.
    static constexpr qint64 MaximumSize = 64 * 1024 * 1024;

    static ModuleListFile parse(const QByteArray& content);
    static ModuleListFile read(const QString& path);
};

} // namespace IVCurve
