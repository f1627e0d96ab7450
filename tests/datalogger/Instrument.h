#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The simulated instrument program, run for one test: it answers the logger's two commands
// with the given bytes.
class Instrument
{
public:
    // Starts the simulator with the answer and its options; path() is empty when it failed.
    Instrument(const QByteArray& answer,
        const QStringList& options = { QStringLiteral("--rate"), QStringLiteral("0") });
    ~Instrument();
    QString path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_path;
};
