#include "ModuleListFile.h"

#include "FileNames.h"

#include <QCoreApplication>
#include <QHash>
#include <boost/tokenizer.hpp>
#include <cmath>
#include <string>
#include <vector>

namespace IVCurve {

namespace {

using Separator = boost::escaped_list_separator<char>;

// The fields of one line; quoted fields may hold commas. False for a line the tokenizer cannot
// read (an escape it does not know).
bool splitLine(const QByteArray& line, std::vector<std::string>* fields)
{
    fields->clear();
    // No escape character: published names hold backslashes, and a doubled quote inside quotes
    // is read as the quote closing and opening again.
    const Separator separator('\0', ',', '"');
    const std::string text(line.constData(), std::size_t(line.size()));
    try {
        boost::tokenizer<Separator> tokens(text, separator);
        for (const std::string& token : tokens)
            fields->push_back(token);
    } catch (const boost::escaped_list_error&) {
        return false;
    }
    return true;
}

// The technology's voltage irradiance coefficient, as the preloaded library sets it.
double deltaFor(const QString& technology)
{
    if (technology.contains(QLatin1String("Mono"), Qt::CaseInsensitive))
        return 0.085;
    if (technology.contains(QLatin1String("Multi"), Qt::CaseInsensitive)
        || technology.contains(QLatin1String("Poly"), Qt::CaseInsensitive))
        return 0.110;
    return 0.063;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("Error Message", text);
}

} // namespace

ModuleListFile ModuleListFile::parse(const QByteArray& content)
{
    ModuleListFile result;
    const char* const wanted[] = { "Name", "Technology", "N_s", "I_sc_ref", "V_oc_ref", "I_mp_ref",
        "V_mp_ref", "alpha_sc", "beta_oc", "R_s" };
    enum { Name, Technology, Cells, Isc, Voc, Imp, Vmp, Alpha, Beta, Rs, Wanted };
    int columns[Wanted];
    std::vector<std::string> fields;
    int row = 0;
    int start = 0;
    // A byte-order mark before the header is not part of the first name.
    if (content.startsWith("\xEF\xBB\xBF"))
        start = 3;
    while (start < content.size()) {
        int end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        QByteArray line = content.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        ++row;
        if (row == 1) {
            if (!splitLine(line, &fields)) {
                result.error = tr("The file is not a module list: its first line cannot be read.");
                return result;
            }
            QHash<QString, int> byName;
            for (std::size_t i = 0; i < fields.size(); ++i)
                byName.insert(QString::fromStdString(fields[i]).trimmed(), int(i));
            for (int i = 0; i < Wanted; ++i) {
                columns[i] = byName.value(QLatin1String(wanted[i]), -1);
                if (columns[i] < 0) {
                    result.error = tr("The file is not a module list: the column \"%1\" is missing.")
                                       .arg(QLatin1String(wanted[i]));
                    return result;
                }
            }
            continue;
        }
        // The rows of units and notes under the header.
        if (row <= 3 || line.trimmed().isEmpty())
            continue;
        if (!splitLine(line, &fields)) {
            ++result.skipped;
            continue;
        }
        auto text = [&](int column) {
            const std::size_t index = std::size_t(columns[column]);
            return index < fields.size() ? QString::fromStdString(fields[index]).trimmed() : QString();
        };
        double values[Wanted] = {};
        bool complete = !text(Name).isEmpty();
        for (int column = Cells; column < Wanted && complete; ++column) {
            bool ok = false;
            values[column] = text(column).toDouble(&ok);
            complete = ok && std::isfinite(values[column]);
        }
        const double cells = values[Cells];
        // A module that cannot exist: its maximum-power point outside its curve, no cells, or
        // a negative resistance.
        if (!complete || values[Isc] <= 0.0 || values[Voc] <= 0.0 || values[Imp] <= 0.0
            || values[Imp] >= values[Isc] || values[Vmp] <= 0.0 || values[Vmp] >= values[Voc] || cells < 1.0
            || cells > 10000.0 || cells != std::floor(cells) || values[Rs] < 0.0) {
            ++result.skipped;
            continue;
        }
        CurveModuleRow module;
        module.setValue(CurveModuleRow::Description, text(Name));
        module.setValue(CurveModuleRow::Isc, values[Isc]);
        module.setValue(CurveModuleRow::Voc, values[Voc]);
        module.setValue(CurveModuleRow::Imp, values[Imp]);
        module.setValue(CurveModuleRow::Vmp, values[Vmp]);
        module.setValue(CurveModuleRow::Alpha, values[Alpha]);
        module.setValue(CurveModuleRow::Beta, values[Beta]);
        module.setValue(CurveModuleRow::Delta, deltaFor(text(Technology)));
        module.setValue(CurveModuleRow::Rs, values[Rs]);
        module.setValue(CurveModuleRow::Cells, int(cells));
        module.setValue(CurveModuleRow::UserModule, false);
        module.setValue(CurveModuleRow::Favourite, false);
        result.modules.append(module);
    }
    if (row == 0)
        result.error = tr("The file is not a module list: it is empty.");
    return result;
}

ModuleListFile ModuleListFile::read(const QString& path)
{
    QByteArray content;
    if (!readPlainFile(path, MaximumSize, &content)) {
        ModuleListFile result;
        result.error = tr("Error opening %1 for reading.").arg(path);
        return result;
    }
    return parse(content);
}

} // namespace IVCurve
