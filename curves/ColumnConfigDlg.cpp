#include "ColumnConfigDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

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
    } boxes[] = {
        { "cb_ShowIndex", QT_TR_NOOP("Show Index Column") },
        { "cb_ShowDate", QT_TR_NOOP("Show Date Column") },
        { "cb_ShowIrradiance", QT_TR_NOOP("Show Irradiance Column") },
        { "cb_ShowCellTemp", QT_TR_NOOP("Show Cell temperature Column") },
        { "cb_ShowFF", QT_TR_NOOP("Show Fill Factor Column") },
        { "cb_ShowIsc", QT_TR_NOOP("Show Isc Column") },
        { "cb_ShowVoc", QT_TR_NOOP("Show Voc Column") },
        { "cb_ShowImpp", QT_TR_NOOP("Show Impp Column") },
        { "cb_ShowVmpp", QT_TR_NOOP("Show Vmpp Column") },
        { "cb_ShowRiso", QT_TR_NOOP("Show Riso Column") },
        { "cb_ShowViso", QT_TR_NOOP("Show Viso Column") },
        { "cb_ShowRpe", QT_TR_NOOP("Show Protective Earth Column") },
        { "cb_ShowIclamp", QT_TR_NOOP("Show Clamp Current (mpp) Column") },
        { "cb_ShowColour", QT_TR_NOOP("Show Colour Column") },
    };
    auto* layout = new QVBoxLayout(this);
    int bit = 1;
    for (const auto& entry : boxes) {
        auto* box = new QCheckBox(tr(entry.text), this);
        box->setObjectName(QLatin1String(entry.name));
        box->setChecked(mask & (1 << bit));
        layout->addWidget(box);
        m_boxes.append(box);
        ++bit;
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
    for (int i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes.at(i)->isChecked())
            mask |= 1 << (i + 1);
    }
    done(mask);
}

} // namespace IVCurve
