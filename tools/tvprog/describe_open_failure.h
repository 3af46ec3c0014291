#pragma once
// Why a port would not open, in words for the operator.
#include <string>

#include "serial/serial_os.h"

namespace tv {

// The single place tvprog turns the component's failure into its reason text.
std::string describeOpenFailure(const SerialError& error);

}  // namespace tv
