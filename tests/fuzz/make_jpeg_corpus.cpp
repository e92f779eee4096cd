// Writes the seed corpus of the JPEG fuzz target: small pictures made with libjpeg
// in each sampling layout, with restart markers, EXIF blocks, a progressive one and a
// cut one. Run through make_jpeg_corpus.sh.
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using Bytes = std::vector<unsigned char>;

struct Options {
  int w, h, hs, vs;
  bool grey = false;
  int quality = 60;
  int restart = 0;
  bool optimize = false;
  bool progressive = false;
};

Bytes Encode(const Options& o) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long len = 0;
  jpeg_mem_dest(&c, &mem, &len);
  c.image_width = static_cast<JDIMENSION>(o.w);
  c.image_height = static_cast<JDIMENSION>(o.h);
  c.input_components = o.grey ? 1 : 3;
  c.in_color_space = o.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, o.quality, TRUE);
  if (!o.grey) {
    c.comp_info[0].h_samp_factor = o.hs;
    c.comp_info[0].v_samp_factor = o.vs;
  }
  c.restart_interval = static_cast<unsigned>(o.restart);
  c.optimize_coding = o.optimize;
  if (o.progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(o.w) * 3);
  for (int y = 0; y < o.h; ++y) {
    for (int x = 0; x < o.w; ++x) {
      row[3 * x] = static_cast<unsigned char>(128 + 100 * std::sin(x * 0.4 + y * 0.1));
      row[3 * x + 1] = static_cast<unsigned char>((x * 13 + y * 7) & 255);
      row[3 * x + 2] = static_cast<unsigned char>(((x / 4 + y / 4) & 1) * 200);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(mem, mem + len);
  std::free(mem);
  return out;
}

void Put(Bytes& b, bool be, unsigned v, int n) {
  for (int i = 0; i < n; ++i) {
    int shift = be ? 8 * (n - 1 - i) : 8 * i;
    b.push_back(static_cast<unsigned char>(v >> shift));
  }
}

// An APP1 EXIF block: IFD0 with a description and a link to IFD1, which points at
// the thumbnail stored right after it.
Bytes WithExif(const Bytes& jpeg, const Bytes& thumb, bool be, bool zeroLength) {
  Bytes t = {static_cast<unsigned char>(be ? 'M' : 'I'), static_cast<unsigned char>(be ? 'M' : 'I')};
  Put(t, be, 42, 2);
  Put(t, be, 8, 4);
  const std::string desc = "seed picture";
  unsigned ifd1 = 8 + 2 + 12 + 4 + static_cast<unsigned>(desc.size() + 1);
  Put(t, be, 1, 2);
  Put(t, be, 270, 2);
  Put(t, be, 2, 2);
  Put(t, be, static_cast<unsigned>(desc.size() + 1), 4);
  Put(t, be, 8 + 2 + 12 + 4, 4);
  Put(t, be, ifd1, 4);
  t.insert(t.end(), desc.begin(), desc.end());
  t.push_back(0);
  Put(t, be, 3, 2);
  Put(t, be, 259, 2); Put(t, be, 3, 2); Put(t, be, 1, 4); Put(t, be, 6, 2); Put(t, be, 0, 2);
  Put(t, be, 513, 2); Put(t, be, 4, 2); Put(t, be, 1, 4); Put(t, be, ifd1 + 2 + 36 + 4, 4);
  Put(t, be, 514, 2); Put(t, be, 4, 2); Put(t, be, 1, 4); Put(t, be, zeroLength ? 0 : static_cast<unsigned>(thumb.size()), 4);
  Put(t, be, 0, 4);
  t.insert(t.end(), thumb.begin(), thumb.end());
  Bytes out(jpeg.begin(), jpeg.begin() + 2);
  size_t len = t.size() + 8;
  out.insert(out.end(), {0xFF, 0xE1, static_cast<unsigned char>(len >> 8), static_cast<unsigned char>(len)});
  out.insert(out.end(), {'E', 'x', 'i', 'f', 0, 0});
  out.insert(out.end(), t.begin(), t.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

void Write(const std::string& dir, const std::string& name, const Bytes& b) {
  std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
  if (f == nullptr) std::exit(1);
  std::fwrite(b.data(), 1, b.size(), f);
  std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : ".";
  Write(dir, "420.jpg", Encode({16, 16, 2, 2}));
  Write(dir, "422-restart.jpg", Encode({24, 8, 2, 1, false, 60, 1}));
  Write(dir, "440.jpg", Encode({8, 16, 1, 2, false, 40}));
  Write(dir, "444-optimised.jpg", Encode({17, 13, 1, 1, false, 70, 0, true}));
  Write(dir, "grey-odd.jpg", Encode({9, 7, 1, 1, true, 50, 2}));
  Write(dir, "one-pixel.jpg", Encode({1, 1, 2, 2}));
  Write(dir, "progressive.jpg", Encode({8, 8, 1, 1, false, 50, 0, false, true}));
  Bytes thumb = Encode({8, 8, 1, 1, true, 30});
  Bytes main = Encode({24, 16, 2, 2, false, 40});
  Write(dir, "exif-be.jpg", WithExif(main, thumb, true, false));
  Write(dir, "exif-le-zero.jpg", WithExif(main, thumb, false, true));
  Bytes cut = Encode({32, 16, 2, 2, false, 80});
  cut.resize(cut.size() * 3 / 4);
  Write(dir, "cut.jpg", cut);
  return 0;
}
