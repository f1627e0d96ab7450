#include "SerialPortSettings.h"

namespace Hv {

SerialPortSettings SerialPortSettings::downloadLine()
{
    SerialPortSettings s;
    s.setBaudRate(9600);
    s.setByteSize(8);
    s.setParity(0);
    s.setStopBits(0);
    s.setFBinary(true);
    s.setFParity(false);
    s.setFOutxCtsFlow(false);
    s.setFOutxDsrFlow(false);
    s.setFDtrControl(1);
    s.setFDsrSensitivity(false);
    s.setFTXContinueOnXoff(true);
    s.setFOutX(false);
    s.setFInX(false);
    s.setFErrorChar(false);
    s.setFNull(false);
    s.setFRtsControl(1);
    s.setFAbortOnError(false);
    s.setXonChar(0x11);
    s.setXoffChar(0x13);
    s.setEvtChar(0);
    s.setXonLim(100);
    s.setXoffLim(100);
    return s;
}

} // namespace Hv
