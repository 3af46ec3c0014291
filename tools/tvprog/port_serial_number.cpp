#include "tools/tvprog/port_serial_number.h"

#include <mutex>

#include "ports/port_choices.h"
#include "ports/port_lister.h"

namespace tv {

std::string portSerialNumber(const std::string& name) {
    // The ports of a run log from their own threads; the listing walks the
    // system's device tables, one walk at a time.
    static std::mutex listing;
    const std::lock_guard<std::mutex> lock(listing);
    const auto port = foundPortOpenedBy(name, makeSystemPortLister()->list(), processEnvironment());
    return port ? port->serialNumber : std::string();
}

}  // namespace tv
