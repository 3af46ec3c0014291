#pragma once
// The port lister the window uses: the system's own unless a test installed
// one that feeds a list of its own.
#include <memory>

#include "ports/port_lister.h"

namespace tv {

PortLister& portLister();
// Installs `lister` (nullptr restores the system's) and returns the previous one.
std::unique_ptr<PortLister> installPortLister(std::unique_ptr<PortLister> lister);

}  // namespace tv
