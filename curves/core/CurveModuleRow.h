#pragma once

#include <QVariant>
#include <QVector>

namespace IVCurve {

// One module type of the module library, its values as read from the Modules table.
struct CurveModuleRow
{
    enum Field {
        Id = 0,
        Description,
        Voc,
        Isc,
        Vmp,
        Imp,
        Alpha,
        Beta,
        Delta,
        Rs,
        UserModule,
        Favourite,
        // Cells in series in one module; missing in libraries written before it was kept.
        Cells,
        FieldCount
    };

    CurveModuleRow()
        : values(FieldCount)
    { }

    QVariant value(Field field) const { return values.at(field); }
    void setValue(Field field, const QVariant& v) { values[field] = v; }

    uint id = 0;
    QVector<QVariant> values;
};

} // namespace IVCurve
