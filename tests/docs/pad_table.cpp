// Prints the pad the keyboard chooses for field types and value formats, "type format pad" a
// line, for the documents check to hold the integrator's table against.
#include <cstdio>

#include "common/HostProtocol.h"

int main() {
  for (int type = -1000; type <= 1000; ++type) {
    for (int format = -2; format <= 5; ++format) {
      std::printf("%d %d %d\n", type, format,
                  pmx::choosePad(static_cast<std::int16_t>(type), static_cast<std::int16_t>(format)));
    }
  }
}
