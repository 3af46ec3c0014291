#pragma once
// The device link on the serial component: the link's transfers go to the
// component, and the component's events call the link's handlers directly, so
// a received byte goes serial component -> link -> view and nothing between.
#include "device/device_link.h"

namespace tv {

class Trs232c;

class SerialPortBinding final : public DevicePort {
public:
    explicit SerialPortBinding(Trs232c& port) : m_port(port) {}

    // Binds the component's receive, packet, open, close and line-lost events
    // to `link`, which must outlive the bindings (or the component).
    void bind(DeviceLink& link);

    bool writebyte(uint8_t b) override;
    bool read(uint8_t* buffer, int32_t count) override;
    int32_t rxcount() override;
    bool setdtr(bool on) override;
    bool setrts(bool on) override;
    void receiveAgain() override;

private:
    Trs232c& m_port;
    DeviceLink* m_link = nullptr;
};

}  // namespace tv
