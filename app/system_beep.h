#pragma once
// The system's information sound, played before a notice.

namespace tv {

void systemBeep();

}  // namespace tv
