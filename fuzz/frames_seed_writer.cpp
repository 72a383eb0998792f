// Writes the seed inputs of the frames fuzz target: every frame of the captures
// given, as a payload input (0, class, ID, payload / 1, payload), one file each,
// named by content so repeated frames collapse. Run at build time, so the captures
// themselves never enter the source tree.
//   frames_seed_writer OUTPUT_DIR CAPTURE...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "frames/frame_scan.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"

int main(int argc, char** argv) {
  using namespace orlimo;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR CAPTURE...\n", argv[0]);
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  int written = 0;
  for (int i = 2; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    for (TFoundFrame f = FindNextFrame(bytes); f.Protocol != TFrameProtocol::None;
         f = FindNextFrame(bytes, f.Offset + f.Frame.size())) {
      std::string seed;
      if (f.Protocol == TFrameProtocol::UBX) {
        seed = {'\0', static_cast<char>(UBXClass(f.Frame)), static_cast<char>(UBXId(f.Frame))};
        seed.append(UBXPayload(f.Frame));
      } else {
        seed = "\x01";
        seed.append(SiRFPayload(f.Frame));
      }
      char name[32];
      std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>{}(seed));
      std::ofstream(out / name, std::ios::binary) << seed;
      ++written;
    }
  }
  std::printf("%d frame seeds in %s\n", written, out.c_str());
  return 0;
}
