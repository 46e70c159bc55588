// make_sound: writes the generated sounds.
//   make_sound <folder>   engine0, engine1, engine2, motor and turbine .wav,
//                         and the effects beep, balloon, crash, splash,
//                         glider and glider2 .wav
// The rpm each is made for matches the default rpm keys of the components
// (1000, 6000 and 11000 for the engine's three samples, 1000 for the motor).
#include <cstdio>
#include <string>

#include "tools/soundgen/soundgen.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sound <folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  struct item {
    const char* name;
    std::vector<int16_t> samples;
  } items[] = {
      {"engine0", soundgen::Engine(1000.0f, 0.8f, 1)},
      {"engine1", soundgen::Engine(6000.0f, 0.4f, 2)},
      {"engine2", soundgen::Engine(11000.0f, 0.2f, 3)},
      {"motor", soundgen::Motor(1000.0f, 6, 4)},
      {"turbine", soundgen::Turbine(3000.0f, 5)},
      // The beep is pitched by the frequency it is played at (13 and 16 kHz).
      {"beep", soundgen::Beep(1000.0, 0.3)},
      {"balloon", soundgen::Pop(6)},
      {"crash", soundgen::Crash(7)},
      {"splash", soundgen::Splash(8)},
      {"glider", soundgen::Wind(0.9, 9)},
      {"glider2", soundgen::Wind(0.6, 10)},
  };
  for (const item& i : items) {
    std::string path = folder + "/" + i.name + ".wav";
    if (!soundgen::WriteWave(path.c_str(), i.samples)) {
      std::fprintf(stderr, "make_sound: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
