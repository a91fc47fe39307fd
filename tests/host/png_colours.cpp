// Tells whether a screenshot of the summary page shows drawn charts: the
// page itself is black on white with grey rules, so the colours of the
// charts' bars and lines are what only drawn charts put there.
//
//   png_colours FILE MIN_PIXELS MIN_HUES
//
// Counts the strongly coloured pixels and the hues among them (in twelve
// sectors of the colour wheel), prints both, and exits with 0 when there
// are at least MIN_PIXELS such pixels of at least MIN_HUES hues, 1 when not,
// 2 when the file is no PNG it can read.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

constexpr int kHueSectors = 12;
// A pixel whose strongest and weakest channels differ by this much is no
// shade of grey, not even the anti-aliased edge of black text.
constexpr int kColourfulness = 80;

// The sector of the colour wheel a coloured pixel's hue falls into.
int HueSector(int r, int g, int b) {
  const int high = std::max({r, g, b});
  const int low = std::min({r, g, b});
  const double span = high - low;
  double hue = 0;
  if (high == r) {
    hue = (g - b) / span;
  } else if (high == g) {
    hue = 2 + (b - r) / span;
  } else {
    hue = 4 + (r - g) / span;
  }
  hue = hue < 0 ? hue + 6 : hue;
  return static_cast<int>(hue / 6 * kHueSectors) % kHueSectors;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: png_colours FILE MIN_PIXELS MIN_HUES\n");
    return 2;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, argv[1])) {
    std::fprintf(stderr, "png_colours: %s: %s\n", argv[1], image.message);
    return 2;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    std::fprintf(stderr, "png_colours: %s: %s\n", argv[1], image.message);
    return 2;
  }
  long coloured = 0;
  std::set<int> hues;
  for (std::size_t at = 0; at + 2 < pixels.size(); at += 3) {
    const int r = pixels[at], g = pixels[at + 1], b = pixels[at + 2];
    if (std::max({r, g, b}) - std::min({r, g, b}) >= kColourfulness) {
      ++coloured;
      hues.insert(HueSector(r, g, b));
    }
  }
  std::printf("%ld coloured pixels of %zu hues in %ux%u\n", coloured, hues.size(), image.width,
              image.height);
  return coloured >= std::atol(argv[2]) && static_cast<long>(hues.size()) >= std::atol(argv[3]) ? 0
                                                                                                : 1;
}
