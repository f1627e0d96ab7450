#pragma once

#include <cstdint>

namespace Hv {

// The line set-up to apply when a port is opened. The fields carry the names of the classic
// device control block; each setter also marks its field as assigned, and only assigned fields
// are applied, so a field never set keeps what the port already has.
class SerialPortSettings
{
public:
    enum Field : std::uint32_t {
        BaudRate = 0x1,
        FBinary = 0x2,
        FParity = 0x4,
        FOutxCtsFlow = 0x8,
        FOutxDsrFlow = 0x10,
        FDtrControl = 0x20,
        FDsrSensitivity = 0x40,
        FTXContinueOnXoff = 0x80,
        FOutX = 0x100,
        FInX = 0x200,
        FErrorChar = 0x400,
        FNull = 0x800,
        FRtsControl = 0x1000,
        FAbortOnError = 0x2000,
        FDummy2 = 0x4000,
        WReserved = 0x8000,
        XonLim = 0x10000,
        XoffLim = 0x20000,
        ByteSize = 0x40000,
        Parity = 0x80000,
        StopBits = 0x100000,
        XonChar = 0x200000,
        XoffChar = 0x400000,
        ErrorChar = 0x800000,
        EofChar = 0x1000000,
        EvtChar = 0x2000000,
        WReserved1 = 0x4000000,
    };

    // Parity codes: 0 none, 1 odd, 2 even, 3 mark, 4 space. Stop bits: 0 one, 1 one and a
    // half, 2 two. DTR and RTS control: 0 off, 1 on, 2 handshake (RTS 3: toggle).
    struct Values
    {
        std::uint32_t baudRate = 0;
        unsigned fBinary = 0, fParity = 0, fOutxCtsFlow = 0, fOutxDsrFlow = 0, fDtrControl = 0,
                 fDsrSensitivity = 0, fTXContinueOnXoff = 0, fOutX = 0, fInX = 0, fErrorChar = 0, fNull = 0,
                 fRtsControl = 0, fAbortOnError = 0, fDummy2 = 0;
        std::uint16_t wReserved = 0, xonLim = 0, xoffLim = 0;
        std::uint8_t byteSize = 0, parity = 0, stopBits = 0;
        char xonChar = 0, xoffChar = 0, errorChar = 0, eofChar = 0, evtChar = 0;
        std::uint16_t wReserved1 = 0;
    };

    bool isAssigned(Field field) const { return (m_assigned & field) != 0; }
    std::uint32_t assignedFlags() const { return m_assigned; }
    const Values& values() const { return m_values; }

    void setBaudRate(std::uint32_t v) { m_values.baudRate = v, m_assigned |= BaudRate; }
    void setFBinary(bool v) { m_values.fBinary = v, m_assigned |= FBinary; }
    void setFParity(bool v) { m_values.fParity = v, m_assigned |= FParity; }
    void setFOutxCtsFlow(bool v) { m_values.fOutxCtsFlow = v, m_assigned |= FOutxCtsFlow; }
    void setFOutxDsrFlow(bool v) { m_values.fOutxDsrFlow = v, m_assigned |= FOutxDsrFlow; }
    void setFDtrControl(unsigned v) { m_values.fDtrControl = v & 3, m_assigned |= FDtrControl; }
    void setFDsrSensitivity(bool v) { m_values.fDsrSensitivity = v, m_assigned |= FDsrSensitivity; }
    void setFTXContinueOnXoff(bool v) { m_values.fTXContinueOnXoff = v, m_assigned |= FTXContinueOnXoff; }
    void setFOutX(bool v) { m_values.fOutX = v, m_assigned |= FOutX; }
    void setFInX(bool v) { m_values.fInX = v, m_assigned |= FInX; }
    void setFErrorChar(bool v) { m_values.fErrorChar = v, m_assigned |= FErrorChar; }
    void setFNull(bool v) { m_values.fNull = v, m_assigned |= FNull; }
    void setFRtsControl(unsigned v) { m_values.fRtsControl = v & 3, m_assigned |= FRtsControl; }
    void setFAbortOnError(bool v) { m_values.fAbortOnError = v, m_assigned |= FAbortOnError; }
    void setXonLim(std::uint16_t v) { m_values.xonLim = v, m_assigned |= XonLim; }
    void setXoffLim(std::uint16_t v) { m_values.xoffLim = v, m_assigned |= XoffLim; }
    void setByteSize(std::uint8_t v) { m_values.byteSize = v, m_assigned |= ByteSize; }
    void setParity(std::uint8_t v) { m_values.parity = v, m_assigned |= Parity; }
    void setStopBits(std::uint8_t v) { m_values.stopBits = v, m_assigned |= StopBits; }
    void setXonChar(char v) { m_values.xonChar = v, m_assigned |= XonChar; }
    void setXoffChar(char v) { m_values.xoffChar = v, m_assigned |= XoffChar; }
    void setErrorChar(char v) { m_values.errorChar = v, m_assigned |= ErrorChar; }
    void setEofChar(char v) { m_values.eofChar = v, m_assigned |= EofChar; }
    void setEvtChar(char v) { m_values.evtChar = v, m_assigned |= EvtChar; }

    // The line the logger always uses: 9600 baud, 8 data bits, no parity, one stop bit, no flow
    // control, DTR and RTS on.
    static SerialPortSettings downloadLine();

private:
    Values m_values;
    std::uint32_t m_assigned = 0;
};

} // namespace Hv
