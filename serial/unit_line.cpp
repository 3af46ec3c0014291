#include "serial/unit_line.h"

namespace tv {

void applyUnitLineSettings(Trs232c& port) {
    port.bps = 9600;
    port.charbit = 8;
    port.stopbit = "1";
    port.paritymode = "無し";
    port.rxbuffsize = 1024;
    port.txbuffsize = 1024;
    port.readinterval = 0;
    port.rxtimeout = 30000;
    port.txtimeout = 30000;
    port.flowflag = 1;
    port.setFlow(rsflowset{dfBinary});
    port.packetsize = 0;
    port.debug = false;
    port.XonLim = 0;
    port.XoffLim = 0;
    port.XonChar = 0x11;
    port.XoffChar = 0x13;
    port.ErrorChar = 0;
    port.EofChar = 0;
    port.EvtChar = 0;
}

}  // namespace tv
