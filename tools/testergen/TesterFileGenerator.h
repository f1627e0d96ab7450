#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Writes result files as a PV tester exports them, for tests, benchmarks and demonstrations:
// continuity, auto tests, positive- and negative-earth insulation tests and auto tests with an
// IV curve, a few of them failed. Line 1 names the tester, line 2 the columns with "IVCurve"
// last; each data line ends with its curve points, the status number and the line checksum.
struct TesterFileOptions
{
    int rows = 12;
    // ',' with '.' decimals, or ';' with ',' decimals (a decimal-comma locale).
    QChar separator = QLatin1Char(',');
    int curvePoints = 128;
    quint32 seed = 1;
    QString serialNumber = QStringLiteral("PVT1600 SN:10234567");
    int fileVersion = 2;
    QDateTime firstTest = QDateTime(QDate(2026, 6, 15), QTime(9, 30, 0));
    // One in this many results failed (0: none).
    int failEvery = 7;
    // Every line an IV-curve test, as in a tester's curve file.
    bool curvesOnly = false;
};

QByteArray generateTesterFile(const TesterFileOptions& options);

// The tester's line checksum: 1 plus every character up to and including the last separator,
// the decimal character counted as '.' and the separator as ','.
quint16 testerLineChecksum(const QByteArray& lineUpToLastSeparator, char separator, char decimal);

// Survey-meter (irradiance and temperature) readings taken at the test times of a tester file.
struct MeterFileOptions
{
    // ',' or ';' between the fields of the readings (the header may use either).
    QChar separator = QLatin1Char(',');
    // BTU/(h·ft²) and °F instead of W/m² and °C.
    bool imperialUnits = false;
    // Every n-th reading shows "ERR" for the irradiance, every (n+1)-th for the temperature (0: none).
    int errEvery = 0;
    // Every n-th reading is written twice with the same time (0: none).
    int duplicateEvery = 0;
    // How long after each test the meter took its reading.
    int secondsAfterTest = 5;
    quint32 seed = 1;
};

// Readings for every data line of the tester file that has a test date and time.
QByteArray generateMeterFile(const QByteArray& testerFile, const MeterFileOptions& options);
