#include "Instrument.h"

#include <QFile>

Instrument::Instrument(const QByteArray& answer, const QStringList& options)
{
    const QString file = m_dir.filePath(QStringLiteral("answer.bin"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(answer) != answer.size())
        return;
    out.close();
    m_process.start(QStringLiteral(INSTRUMENT_SIMULATOR), QStringList { file } + options);
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) { }
    m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

Instrument::~Instrument()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}
