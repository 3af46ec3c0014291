#pragma once
// tvprog ports: the serial ports the window offers beyond com1 to com12.
#include <iosfwd>
#include <vector>

#include "ports/port_lister.h"

namespace tv {

// One port a line ("com15  \\.\COM15  USB Serial Port  FTDI  0403:6001  A600XYZ",
// a field left out where unknown), or with `tsv` a table with a header row.
void printPorts(std::ostream& out, const std::vector<FoundPort>& ports, bool tsv);

// Lists the ports of this machine on stdout; a note on stderr when there are none.
int runPorts(bool tsv);

}  // namespace tv
