#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair made by a test: the code under test opens path(), the test plays the
// instrument on the other end.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    bool isValid() const { return m_master >= 0; }
    QString path() const { return m_path; }
    int slaveDescriptor() const { return m_slave; }

    bool write(const QByteArray& data);
    // Everything that arrives within msecs of quiet.
    QByteArray readFor(int msecs);
    // Ends the line as a pulled cable does.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
