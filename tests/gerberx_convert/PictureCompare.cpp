// Compares two pictures of the same frame: the share of dark pixels they have in common (IoU)
// and the share of dark pixels farther than one pixel from any dark pixel of the other picture.
//   picture-compare A.png B.png [min-iou max-far]   exit 0 when both limits hold, 1 when not, 2 on error

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Picture {
  int Width = 0, Height = 0;
  std::vector<unsigned char> Dark;  // one byte a pixel
};

bool Load(const char* path, Picture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path) == 0) return false;
  image.format = PNG_FORMAT_GRAY;
  std::vector<unsigned char> gray(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, gray.data(), 0, nullptr) == 0) return false;
  picture.Width = static_cast<int>(image.width);
  picture.Height = static_cast<int>(image.height);
  picture.Dark.resize(gray.size());
  for (std::size_t i = 0; i < gray.size(); ++i) picture.Dark[i] = gray[i] < 128 ? 1 : 0;
  return true;
}

bool DarkNear(const Picture& p, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx >= 0 && ny >= 0 && nx < p.Width && ny < p.Height && p.Dark[ny * p.Width + nx] != 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: %s A.png B.png [min-iou max-far]\n", argv[0]);
    return 2;
  }
  Picture a, b;
  if (!Load(argv[1], a) || !Load(argv[2], b)) {
    std::fprintf(stderr, "cannot read %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  if (a.Width != b.Width || a.Height != b.Height) {
    std::fprintf(stderr, "the pictures differ in size: %dx%d and %dx%d\n", a.Width, a.Height, b.Width, b.Height);
    return 1;
  }
  long both = 0, either = 0, darkA = 0, darkB = 0, far = 0;
  for (int y = 0; y < a.Height; ++y) {
    for (int x = 0; x < a.Width; ++x) {
      const bool da = a.Dark[y * a.Width + x] != 0, db = b.Dark[y * b.Width + x] != 0;
      both += da && db;
      either += da || db;
      darkA += da;
      darkB += db;
      if (da && !db && !DarkNear(b, x, y)) ++far;
      if (db && !da && !DarkNear(a, x, y)) ++far;
    }
  }
  const double iou = either == 0 ? 1.0 : static_cast<double>(both) / static_cast<double>(either);
  const double farShare = darkA + darkB == 0 ? 0.0 : static_cast<double>(far) / static_cast<double>(darkA + darkB);
  std::printf("iou %.5f far %.5f (dark pixels %ld and %ld, far %ld)\n", iou, farShare, darkA, darkB, far);
  if (argc == 5) return iou >= std::atof(argv[3]) && farShare <= std::atof(argv[4]) ? 0 : 1;
  return 0;
}
