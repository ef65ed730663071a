// The lines of the protocol trace: what the keyboard received from its host, what it told the
// host and which settings it looked up. The platform's Trace says whether they are wanted and
// where they go; the core formats a line only when the trace is on.
#pragma once

#include <cstdint>
#include <string>

#include "common/MPMXTouchKeyBoard.h"

namespace pmx {

// A text as a trace line shows it: in double quotes, with quotes, backslashes and control bytes
// escaped (\", \\, \xNN), so that no text from the host or the settings file breaks the line.
std::string traceText(const std::string& text);

// The line for a message of the message window: the host's request with its fields as the
// keyboard reads them, and what it does with them. Empty for a message that is no request.
std::string requestTraceLine(Context& context, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam);

// The line for a notice to the host.
std::string noticeTraceLine(const char* name, WindowHandle controller, std::uintptr_t wParam);

// The line that says why the keyboard ends without the terminate request.
std::string endTraceLine(const char* why, WindowHandle controller);

// The line that names the settings file and says how it is read: as Unicode, as 8-bit text, or
// not at all (the built-in texts apply); a sample file beside a missing one is pointed out.
std::string settingsFileTraceLine(const std::string& file, bool exists, bool unicode,
                                  bool sampleBeside);

// The line for a settings lookup: the value found, or that the default applies.
std::string settingTraceLine(const std::string& section, const std::string& key,
                             const std::string& value, bool found);

}  // namespace pmx
