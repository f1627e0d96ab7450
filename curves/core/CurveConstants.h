#pragma once

#include <QString>
#include <QtGlobal>

// Codes and bits that the curve files, the tree and the translation share.
namespace IVCurve {

// SQLite's application_id of the curve files we write ("KCRV"), by which the desktop tells them
// from other databases (packaging/CMakeLists.txt names it in the file type's content rule).
// Files without it are read all the same.
constexpr qint32 CurveFileApplicationId = 0x4B435256;

// Status bits of a string node. The low 24 bits carry the tester's own status number.
enum StatusBit : quint32 {
    StatusChecksumWrong = 0x00000001,
    StatusSpreadsheetModified = 0x01000000,
    StatusIrradianceVariance = 0x02000000,
    StatusNoIrradiance = 0x04000000,
    StatusNoCellTemperature = 0x08000000,
};

enum SeriesKind : quint8 {
    SeriesMEAS = 0,
    SeriesMEASPower = 1,
    SeriesSTC = 2,
    SeriesSTCPower = 3,
    SeriesNOM = 4,
    SeriesNOMPower = 5,
    SeriesKindCount = 6,
};

enum AlgorithmCode : quint8 {
    AlgorithmBlaesser = 0,
    AlgorithmIEC60891 = 1,
    AlgorithmAnderson = 2,
    AlgorithmIEC60891Procedure2 = 3,
    AlgorithmIEC60891Procedure4 = 4,
    AlgorithmLast = AlgorithmIEC60891Procedure4,
};

// Positions in a tree item's data vector.
enum TreeData : int {
    TreeNodeID = 0,
    TreeParentNodeID = 1,
    TreeLabel = 2,
    TreeCurveID = 3,
    TreeMemLocation = 4,
    TreeTestDate = 5,
    TreeStatus = 6,
    TreeIrradiance = 7,
    TreeAmbientTemp = 8,
    TreeCellTemp = 9,
    TreeFF = 10,
    TreeVoc = 11,
    TreeIsc = 12,
    TreeRiso = 13,
    TreeViso = 14,
    TreeIclamp = 15,
    TreeRpe = 16,
    TreeVmp = 17,
    TreeImp = 18,
    TreeDataCount = 19,
};

enum TreeColumn : int {
    ColumnLabel = 0,
    ColumnIndex = 1,
    ColumnDate = 2,
    ColumnIrradiance = 3,
    ColumnCellTemp = 4,
    ColumnColour = 14,
    ColumnLast = 15,
    // Each string's verdict against its modules' data sheet; off in the masks stored before it.
    ColumnVerdict = 16,
    ColumnCount = 17,
};

inline QString treeMimeType()
{
    return QStringLiteral("application/vnd.custom.ctmtype");
}

} // namespace IVCurve
