#include "ColumnConfigDlg.h"

#include "CurveConstants.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariant>

namespace IVCurve {

ColumnConfigDlg::ColumnConfigDlg(int mask, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("ColumnConfigDlg"));
    setWindowTitle(tr("Configure Columns"));
    const struct
    {
        const char* name;
        const char* text;
        int column;
    } boxes[] = {
        { "cb_ShowIndex", QT_TR_NOOP("Show Index Column"), ColumnIndex },
        { "cb_ShowDate", QT_TR_NOOP("Show Date Column"), ColumnDate },
        { "cb_ShowIrradiance", QT_TR_NOOP("Show Irradiance Column"), ColumnIrradiance },
        { "cb_ShowCellTemp", QT_TR_NOOP("Show Cell temperature Column"), ColumnCellTemp },
        { "cb_ShowFF", QT_TR_NOOP("Show Fill Factor Column"), 5 },
        { "cb_ShowIsc", QT_TR_NOOP("Show Isc Column"), 6 },
        { "cb_ShowVoc", QT_TR_NOOP("Show Voc Column"), 7 },
        { "cb_ShowImpp", QT_TR_NOOP("Show Impp Column"), 8 },
        { "cb_ShowVmpp", QT_TR_NOOP("Show Vmpp Column"), 9 },
        { "cb_ShowRiso", QT_TR_NOOP("Show Riso Column"), 10 },
        { "cb_ShowViso", QT_TR_NOOP("Show Viso Column"), 11 },
        { "cb_ShowRpe", QT_TR_NOOP("Show Protective Earth Column"), 12 },
        { "cb_ShowIclamp", QT_TR_NOOP("Show Clamp Current (mpp) Column"), 13 },
        { "cb_ShowColour", QT_TR_NOOP("Show Colour Column"), ColumnColour },
        { "cb_ShowVerdict", QT_TR_NOOP("Show Verdict Column"), ColumnVerdict },
    };
    auto* layout = new QVBoxLayout(this);
    for (const auto& entry : boxes) {
        auto* box = new QCheckBox(tr(entry.text), this);
        box->setObjectName(QLatin1String(entry.name));
        box->setChecked(mask & (1 << entry.column));
        box->setProperty("column", entry.column);
        layout->addWidget(box);
        m_boxes.append(box);
    }
    auto* buttons = new QHBoxLayout;
    auto* all = new QPushButton(tr("Select All"), this);
    all->setObjectName(QStringLiteral("pb_selectAll"));
    auto* none = new QPushButton(tr("Select None"), this);
    none->setObjectName(QStringLiteral("pb_selectNone"));
    auto* close = new QPushButton(tr("Update and Close"), this);
    close->setObjectName(QStringLiteral("pb_updateClose"));
    close->setDefault(true);
    buttons->addWidget(all);
    buttons->addWidget(none);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(all, &QPushButton::clicked, this, &ColumnConfigDlg::updateSA);
    connect(none, &QPushButton::clicked, this, &ColumnConfigDlg::updateSN);
    connect(close, &QPushButton::clicked, this, &ColumnConfigDlg::updateFlags);
}

void ColumnConfigDlg::updateSA()
{
    for (QCheckBox* box : qAsConst(m_boxes))
        box->setChecked(true);
}

void ColumnConfigDlg::updateSN()
{
    for (QCheckBox* box : qAsConst(m_boxes))
        box->setChecked(false);
}

void ColumnConfigDlg::updateFlags()
{
    int mask = 1;
    for (QCheckBox* box : qAsConst(m_boxes)) {
        if (box->isChecked())
            mask |= 1 << box->property("column").toInt();
    }
    done(mask);
}

} // namespace IVCurve
