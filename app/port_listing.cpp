#include "app/port_listing.h"

namespace tv {

namespace {
std::unique_ptr<PortLister>& installed() {
    static std::unique_ptr<PortLister> lister = makeSystemPortLister();
    return lister;
}
}  // namespace

PortLister& portLister() { return *installed(); }

std::unique_ptr<PortLister> installPortLister(std::unique_ptr<PortLister> lister) {
    std::unique_ptr<PortLister> previous = std::move(installed());
    installed() = lister ? std::move(lister) : makeSystemPortLister();
    return previous;
}

}  // namespace tv
