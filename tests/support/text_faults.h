#pragma once
// Finds the texts of a window that are cut or drawn under another control:
// each text is measured with its control's own font against the room its
// style gives it, against its parent's edges and frame, and against the
// controls beside it. Table headers are measured section by section. Both the
// offscreen window tests and the Windows-look run under Wine use it.
#include <string>
#include <vector>

class QWidget;

namespace tv::testing {

// What is cut or covered among the visible controls of window, one line each
// naming the control; "no text measured" when it found no text at all.
std::vector<std::string> textFaults(const QWidget& window);

}  // namespace tv::testing
