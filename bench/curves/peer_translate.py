#!/usr/bin/env python3
"""The yardstick for bench_curves --translate: the same job written with Python and numpy.

Opens a curve document (SQLite), reads its tree, reads the curve row of every string, decodes
the point lists and translates them to standard test conditions by all three methods
(Blaesser, IEC 60891, Anderson), with the power curves and the nominal curve of the module each
string names, read from modules.db beside the file. The points of all curves are decoded in one
go and translated as whole arrays, the way numpy is meant to be used. Prints the time taken and
the same check sum as bench_curves, so that the two can be seen to have done the same work.

    python3 peer_translate.py FILE.kstcrv
    python3 peer_translate.py --procedures FILE.kstcrv   (IEC 60891 procedures 2 and 4 instead)
"""

import math
import os
import sqlite3
import sys
import time

import numpy as np

G2 = 1000.0
T2 = 25.0
COEFFICIENTS = ("alpha", "beta", "delta", "a", "b", "K", "Rs")
DEFAULTS = {"alpha": 0.004, "beta": -0.15, "delta": 0.085, "a": 0.06, "b": -0.004, "K": 0.00125, "Rs": 0.35}
PROCEDURE_COLUMNS = ("IEC2_alpha", "IEC2_beta", "IEC2_a", "IEC2_Rs", "IEC2_kappa", "IEC4_alpha", "IEC4_Rs",
                     "IEC4_cells", "IEC4_epsilon")
PROCEDURE_DEFAULTS = (0.05, -0.3, 0.06, 0.35, 0.00125, 0.004, 0.35, 60.0, 1.232)

TREE_SELECT = (
    "SELECT t.NodeID, t.ParentNodeID, t.NodeDesc, t.Status, c.CurveID, c.MemLocation, c.TestDate, t.Colour, "
    "c.Irradiance, c.AmbientTemp, c.CellTemp, c.FF, c.Isc, c.Voc, c.Viso, c.Riso, c.Iclamp, c.Rpe, c.Vmp, "
    "c.Imp FROM TreeNodes t LEFT JOIN Curves c ON t.CurveID = c.CurveID ORDER BY t.ParentRow, t.NodeID"
)
CURVE_SELECT = (
    "SELECT CurvePoints, Irradiance, AmbientTemp, CellTemp, Voc, Isc, STC_alpha, STC_beta, STC_delta, STC_a, "
    "STC_b, STC_K, STC_Rs, ModuleID, ModuleSeries, ModuleParallel FROM Curves WHERE CurveID = ?"
)


def number(value):
    """A stored value as a finite float, or None."""
    if value is None:
        return None
    try:
        result = float(value)
    except (TypeError, ValueError):
        return None
    return result if math.isfinite(result) else None


def column(rows, index, default):
    return np.array([default if number(row[index]) is None else number(row[index]) for row in rows])


def shape_voltage(voc, isc, vmp, imp):
    if imp == 0.0 or isc == 0.0 or imp == isc:
        return 0.0
    ratio = imp / isc
    if ratio <= 0.0 or ratio >= 1.0:
        return 0.0
    d = (vmp - voc) / math.log(1.0 - ratio)
    return d if math.isfinite(d) else 0.0


def nominal_figure(ns, np_, voc, isc, vmp, imp):
    """Largest current of a module's nominal curve: 127 steps up to its Voc and the end point."""
    if not voc > 0.0:
        return 0.0
    d = shape_voltage(voc, isc, vmp, imp)
    if d == 0.0:
        return max(np_ * isc, 0.0)
    v = np.arange(127) * (voc / 127.0)
    current = np_ * (isc - (np.exp((v - voc) / d) - 2.0 * math.exp(-voc / d)) * isc)
    current = current[np.isfinite(current)]
    return max(np_ * isc, float(current.max()) if current.size else 0.0, 0.0)


def per_curve_max(values, starts):
    """Largest value of each curve (all curves' points in one array), never below 0."""
    return np.maximum(np.maximum.reduceat(values, starts), 0.0)


def series_figures(v2, i2, starts):
    """Sum over the curves of the translated curve's largest voltage and largest power.

    The end points added on the axes, (0, I) and (V, 0), raise neither figure; points that are
    not finite are left out of the curve."""
    finite = np.isfinite(v2) & np.isfinite(i2)
    voltage = np.where(finite, v2, -np.inf)
    power = np.where(finite, v2 * i2, 0.0)
    power[~np.isfinite(power)] = 0.0
    return float(per_curve_max(voltage, starts).sum() + per_curve_max(power, starts).sum())


def main():
    procedures = sys.argv[1] == "--procedures"
    path = sys.argv[-1]
    start = time.perf_counter()
    cpu_start = time.process_time()
    database = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    library = sqlite3.connect("file:%s?mode=ro" % os.path.join(os.path.dirname(path), "modules.db"), uri=True)

    # The tree: every node under its parent, in row order.
    children = {}
    curve_ids = []
    for row in database.execute(TREE_SELECT):
        children.setdefault(row[1], []).append(row)
        if row[4] is not None:
            curve_ids.append(row[4])
    opened = time.perf_counter()

    rows = []
    columns = {row[1] for row in database.execute("PRAGMA table_info(Curves)")}
    extra = ", ".join(name if name in columns else "NULL" for name in PROCEDURE_COLUMNS)
    select = CURVE_SELECT.replace(" FROM Curves", ", %s FROM Curves" % extra)
    for curve_id in curve_ids:
        row = database.execute(select, (curve_id,)).fetchone()
        if row is not None and row[0]:
            rows.append(row)
    count = len(rows)
    texts = [row[0] for row in rows]
    counts = np.array([text.count("#") + 1 for text in texts])
    points = np.fromstring(":".join(texts).replace("#", ":"), sep=":").reshape(-1, 4)
    starts = np.concatenate(([0], np.cumsum(counts)[:-1]))
    curve = np.repeat(np.arange(count), counts)
    v1, i1 = points[:, 0], points[:, 1]

    # Conditions and coefficients, one value per curve.
    g1 = column(rows, 1, 1000.0)
    g1[g1 <= 0.0] = 1000.0
    ambient = column(rows, 2, 25.0)
    ambient[ambient == 0.0] = 25.0
    cell = column(rows, 3, 25.0)
    cell[cell == 0.0] = 25.0
    vmax1 = per_curve_max(v1, starts)
    isc1 = i1[starts]
    voc_measured = np.array([number(row[4]) for row in rows], dtype=float)
    voc_measured = np.where(np.isnan(voc_measured), vmax1, voc_measured)
    isc_measured = np.array([number(row[5]) for row in rows], dtype=float)
    isc_measured = np.where(np.isnan(isc_measured), per_curve_max(i1, starts), isc_measured)
    c = {name: column(rows, 6 + k, DEFAULTS[name]) for k, name in enumerate(COEFFICIENTS)}

    # Modules: looked up once each; the nominal curve once for each module and string layout.
    ns, np_ = np.ones(count), np.ones(count)
    m_voc, m_isc = np.zeros(count), np.zeros(count)
    has_module = np.zeros(count, dtype=bool)
    library_rows = {}
    nominal = {}
    check = 0.0
    for n, row in enumerate(rows):
        module_id = row[13]
        if not (isinstance(module_id, int) and module_id > 0):
            continue
        if module_id not in library_rows:
            found = library.execute("SELECT Voc, Isc, Vmp, Imp FROM Modules WHERE _id = ?", (module_id,)).fetchone()
            library_rows[module_id] = tuple(number(v) or 0.0 for v in found) if found else None
        found = library_rows[module_id]
        if found is None:
            continue
        ns[n] = row[14] if isinstance(row[14], int) and row[14] > 0 else 1
        np_[n] = row[15] if isinstance(row[15], int) and row[15] > 0 else 1
        m_voc[n], m_isc[n], has_module[n] = found[0], found[1], True
        key = (ns[n], np_[n], module_id)
        if key not in nominal:
            nominal[key] = nominal_figure(ns[n], np_[n], *found)
        check += nominal[key]

    if procedures:
        with np.errstate(divide="ignore", invalid="ignore"):
            p = [column(rows, 16 + k, default) for k, default in enumerate(PROCEDURE_DEFAULTS)]
            dt = T2 - cell
            parallel = np.maximum(np_, 1.0)
            # Procedure 2: relative coefficients in %/°C, Voc1 the last point's voltage.
            voc1 = v1[starts + counts - 1]
            factor = (1.0 + p[0] / 100.0 * dt) * G2 / g1
            offset = voc1 * (p[1] / 100.0 * dt + p[2] * np.log(G2 / g1))
            i2 = i1 * factor[curve]
            v2 = v1 + offset[curve] - (p[3] * ns / parallel)[curve] * (i2 - i1) - (p[4] * ns / parallel * dt)[curve] * i2
            check = series_figures(v2, i2, starts)
            # Procedure 4: first to the target irradiance, then to the target temperature.
            i_g = i1 + (isc1 * (G2 / g1 - 1.0))[curve]
            v_g = v1 - (p[6] * ns / parallel)[curve] * (i_g - i1)
            absolute = cell + 273.15
            tf = np.where(absolute > 0.0, dt / absolute, 0.0)
            i2 = i_g + (p[5] * parallel * dt)[curve]
            v2 = v_g + tf[curve] * (v_g - (p[8] * p[7] * ns)[curve])
            check += series_figures(v2, i2, starts)
        done = time.perf_counter()
        cpu = time.process_time() - cpu_start
        print("open+tree %.1f ms, load+2xSTC %.1f ms, total %.1f ms (cpu %.1f ms), check %.6f"
              % ((opened - start) * 1e3, (done - opened) * 1e3, (done - start) * 1e3, cpu * 1e3, check))
        return

    with np.errstate(divide="ignore", invalid="ignore"):
        # Blaesser: ambient temperature.
        alpha_rel = np.where(isc_measured != 0.0, c["alpha"] / isc_measured, 0.0)
        factor = (1.0 + alpha_rel * (T2 - ambient)) * G2 / g1
        offset = c["b"] * (T2 - ambient) + c["a"] * np.log(G2 / g1)
        i2 = factor[curve] * i1
        v2 = v1 + (offset * voc_measured)[curve] + c["Rs"][curve] * (i1 - i2)
        check += series_figures(v2, i2, starts)

        # IEC 60891: cell temperature.
        dt = T2 - cell
        i2 = i1 + (isc1 * (G2 / g1 - 1.0) + c["alpha"] * np_ * dt)[curve]
        v2 = v1 + ns[curve] * ((c["beta"] * dt)[curve] - c["Rs"][curve] * (i2 - i1) - (c["K"] * dt)[curve] * i2)
        check += series_figures(v2, i2, starts)

        # Anderson: cell temperature.
        alpha_rel = np.where(has_module & (m_isc > 0.0), c["alpha"] / m_isc,
                             np.where(isc1 != 0.0, c["alpha"] * np_ / ((G2 / g1) * isc1), 0.0))
        beta_rel = np.where(has_module & (m_voc > 0.0), c["beta"] * ns / (0.5 * (ns * m_voc + vmax1)),
                            np.where(vmax1 != 0.0, c["beta"] * ns / vmax1, 0.0))
        k = (1.0 + alpha_rel * (cell - T2)) * (g1 / G2)
        isc_stc = np.where(k != 0.0, isc1 / k, 0.0)
        f = (1.0 + c["delta"] * np.log(g1 / G2)) * (1.0 + beta_rel * (cell - T2))
        voc_stc = np.where(f != 0.0, vmax1 / f, 0.0)
        usable = (isc1 != 0.0) & (vmax1 != 0.0)
        v_scale = np.where(usable, voc_stc / vmax1, 0.0)
        i_scale = np.where(usable, isc_stc / isc1, 0.0)
        check += series_figures(v1 * v_scale[curve], i1 * i_scale[curve], starts)

    done = time.perf_counter()
    cpu = time.process_time() - cpu_start
    print("open+tree %.1f ms, load+3xSTC %.1f ms, total %.1f ms (cpu %.1f ms), check %.6f"
          % ((opened - start) * 1e3, (done - opened) * 1e3, (done - start) * 1e3, cpu * 1e3, check))


if __name__ == "__main__":
    main()
