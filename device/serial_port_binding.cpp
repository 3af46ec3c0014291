#include "device/serial_port_binding.h"

#include "serial/rs232c.h"

namespace tv {

void SerialPortBinding::bind(DeviceLink& link) {
    m_link = &link;
    m_port.OnRXCHAR = [&link](Trs232c&) { link.rs232c1RXCHAR(); };
    m_port.OnPACKET = [&link](Trs232c&) { link.rs232c1PACKET(); };
    m_port.OnOpen = [&link](Trs232c&) { link.rs232c1Open(); };
    m_port.OnClose = [&link](Trs232c&) { link.rs232c1Close(); };
    m_port.OnLINELOST = [&link](Trs232c&) { link.rs232c1LINELOST(); };
}

bool SerialPortBinding::writebyte(uint8_t b) { return m_port.writebyte(b); }
bool SerialPortBinding::read(uint8_t* buffer, int32_t count) { return m_port.read(buffer, count); }
int32_t SerialPortBinding::rxcount() { return m_port.rxcount(); }
bool SerialPortBinding::setdtr(bool on) { return m_port.setdtr(on); }
bool SerialPortBinding::setrts(bool on) { return m_port.setrts(on); }
void SerialPortBinding::receiveAgain() {
    if (m_link != nullptr) m_port.callLater([link = m_link] { link->continueReceive(); });
}

}  // namespace tv
