#include "cli/ImageCommands.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/ImageFileWriter.h"
#include "image/EntryThumbnail.h"
#include "image/JpegDecoder.h"
#include "image/JpegDrawer.h"
#include "image/JpegFileSource.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "service/ServiceErrors.h"

namespace cli {

namespace {

using nlohmann::json;

// Opens a phone path through the device file system, any other path on this computer.
uint32_t OpenInput(const std::string& path, std::unique_ptr<platform::File>& out) {
  if (!path.empty() && path[0] == '\\') {
    return platform::DeviceFileSystem::Current().OpenFile(path, platform::OpenMode::Read, out);
  }
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return platform::ErrorFromErrno(errno);
  out = std::make_unique<platform::File>(fd, path);
  return 0;
}

std::string Dump(const json& j) { return j.dump(2, ' ', false, json::error_handler_t::replace); }

// Reports a failed file: the code and the message the program shows for it.
int Failure(const std::string& file, int32_t code, bool json, std::ostream& out, std::ostream& err) {
  std::string message = service::ServiceErrors::GetErrorText(static_cast<uint32_t>(code));
  if (json) out << Dump({{"file", file}, {"error", code}, {"message", message}}) << '\n';
  err << "Tessary: " << file << ": " << message << " (" << code << ")\n";
  return CliContext::kFailure;
}

int OpenFailure(const std::string& file, uint32_t code, std::ostream& err) {
  err << "Tessary: cannot open " << file << " (error " << code << ")\n";
  return CliContext::kFailure;
}

// The target the GUI would draw into: a black canvas that clips what it is given.
class RgbCanvas : public image::ImageCanvas {
 public:
  RgbCanvas(uint32_t width, uint32_t height) : width_(width), height_(height), rgb_(size_t{width} * height * 3) {}

  void DrawBitmap(const image::Bitmap& bitmap, const image::Rect& area) override {
    for (uint32_t y = 0; y < bitmap.Height(); ++y) {
      int64_t ty = int64_t{area.top} + y;
      if (ty < 0 || ty >= height_) continue;
      for (uint32_t x = 0; x < bitmap.Width(); ++x) {
        int64_t tx = int64_t{area.left} + x;
        if (tx < 0 || tx >= width_) continue;
        Put(static_cast<size_t>(ty) * width_ + static_cast<size_t>(tx), bitmap.Pixel(x, y));
      }
    }
  }

  void Put(size_t at, uint16_t v) {
    rgb_[3 * at] = static_cast<uint8_t>((v >> 8) & 0xF8);
    rgb_[3 * at + 1] = static_cast<uint8_t>((v >> 3) & 0xFC);
    rgb_[3 * at + 2] = static_cast<uint8_t>((v << 3) & 0xFF);
  }
  const std::vector<uint8_t>& Rgb() const { return rgb_; }

 private:
  uint32_t width_;
  uint32_t height_;
  std::vector<uint8_t> rgb_;
};

bool EndsWith(const std::string& s, const std::string& suffix) {
  if (s.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i]) return false;
  }
  return true;
}

bool WriteImage(const std::string& path, uint32_t w, uint32_t h, const std::vector<uint8_t>& rgb) {
  return EndsWith(path, ".ppm") ? ImageFileWriter::WritePpm(path, w, h, rgb)
                                : ImageFileWriter::WritePng(path, w, h, rgb);
}

std::string Sampling(const image::JpegHeader& h) {
  std::string s;
  for (int i = 0; i < h.componentCount; ++i) {
    if (i > 0) s += ' ';
    s += std::to_string(h.components[i].h) + "x" + std::to_string(h.components[i].v);
  }
  return s;
}

}  // namespace

bool ImageCommands::ParseSize(const std::string& text, uint32_t& width, uint32_t& height) {
  size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const char* begin = text.data();
  const char* end = begin + text.size();
  auto a = std::from_chars(begin, begin + x, width);
  auto b = std::from_chars(begin + x + 1, end, height);
  return a.ec == std::errc() && a.ptr == begin + x && b.ec == std::errc() && b.ptr == end && width >= 1 &&
         height >= 1 && width <= 65535 && height <= 65535;
}

int ImageCommands::Info(const std::string& file, bool json, std::ostream& out, std::ostream& err) {
  std::unique_ptr<platform::File> f;
  if (uint32_t rc = OpenInput(file, f); rc != 0) return OpenFailure(file, rc, err);
  image::JpegFileSource source(*f);
  image::JpegDecoder decoder(source);
  int32_t rc = decoder.ReadHeaders();
  const image::JpegHeader& h = decoder.Header();
  const image::ExifData& exif = h.exif;
  if (json) {
    nlohmann::json j = {{"file", file}};
    if (h.frameMarker != 0) {
      nlohmann::json sampling = nlohmann::json::array();
      for (int i = 0; i < h.componentCount; ++i) sampling.push_back({h.components[i].h, h.components[i].v});
      j["width"] = h.width;
      j["height"] = h.height;
      j["components"] = h.componentCount;
      j["sampling"] = sampling;
      j["progressive"] = h.progressive;
      j["restartInterval"] = h.restartInterval;
    }
    j["exifThumbnail"] = exif.hasThumbnail ? nlohmann::json{{"offset", exif.thumbnailOffset},
                                                            {"length", exif.thumbnailLength}}
                                           : nlohmann::json(nullptr);
    j["captureDate"] = exif.captureDate;
    j["description"] = exif.description;
    j["make"] = exif.make;
    j["model"] = exif.model;
    if (rc != 0) {
      j["error"] = rc;
      j["message"] = service::ServiceErrors::GetErrorText(static_cast<uint32_t>(rc));
    }
    out << Dump(j) << '\n';
  } else {
    if (h.frameMarker != 0) {
      out << "size: " << h.width << "x" << h.height << '\n'
          << "components: " << int{h.componentCount} << '\n'
          << "sampling: " << Sampling(h) << '\n'
          << "progressive: " << (h.progressive ? "yes" : "no") << '\n'
          << "restart interval: " << h.restartInterval << '\n';
    }
    if (exif.hasThumbnail) {
      out << "EXIF thumbnail: " << exif.thumbnailLength << " bytes at offset " << exif.thumbnailOffset << '\n';
    } else {
      out << "EXIF thumbnail: none\n";
    }
    if (!exif.captureDate.empty()) out << "capture date: " << exif.captureDate << '\n';
    if (!exif.description.empty()) out << "description: " << exif.description << '\n';
    if (!exif.make.empty()) out << "make: " << exif.make << '\n';
    if (!exif.model.empty()) out << "model: " << exif.model << '\n';
  }
  if (rc != 0) {
    err << "Tessary: " << file << ": " << service::ServiceErrors::GetErrorText(static_cast<uint32_t>(rc)) << " ("
        << rc << ")\n";
    return CliContext::kFailure;
  }
  return CliContext::kOk;
}

int ImageCommands::Decode(const std::string& file, const DecodeOptions& o, const std::string& output, bool json,
                          std::ostream& out, std::ostream& err) {
  std::unique_ptr<platform::File> f;
  if (uint32_t rc = OpenInput(file, f); rc != 0) return OpenFailure(file, rc, err);
  image::JpegFileSource source(*f);

  if (o.scale != 0) {
    int level = o.scale == 1 ? 0 : o.scale == 2 ? 1 : o.scale == 4 ? 2 : 3;
    image::JpegDecoder decoder(source);
    image::Bitmap bitmap;
    int32_t rc = decoder.ReadHeaders();
    if (rc == 0) rc = decoder.Decode(level, bitmap);
    if (rc != 0) return Failure(file, rc, json, out, err);
    RgbCanvas canvas(bitmap.Width(), bitmap.Height());
    canvas.DrawBitmap(bitmap, {0, 0, static_cast<int32_t>(bitmap.Width()), static_cast<int32_t>(bitmap.Height())});
    if (!WriteImage(output, bitmap.Width(), bitmap.Height(), canvas.Rgb())) {
      err << "Tessary: cannot write " << output << '\n';
      return CliContext::kFailure;
    }
    if (json) {
      out << Dump({{"file", file}, {"output", output}, {"width", bitmap.Width()}, {"height", bitmap.Height()}})
          << '\n';
    } else {
      out << "decoded at 1/" << o.scale << ": " << bitmap.Width() << "x" << bitmap.Height() << '\n';
    }
    return CliContext::kOk;
  }

  uint32_t options = 0;
  if (o.fill) options |= image::kDrawFill;
  if (o.natural) options |= image::kDrawNaturalSize;
  if (o.top) options |= image::kDrawNoVerticalCentre;
  image::Rect area{0, 0, static_cast<int32_t>(o.width), static_cast<int32_t>(o.height)};
  RgbCanvas canvas(o.width, o.height);
  if (int32_t rc = image::DrawJpeg(source, canvas, area, options); rc != 0) return Failure(file, rc, json, out, err);
  if (!WriteImage(output, o.width, o.height, canvas.Rgb())) {
    err << "Tessary: cannot write " << output << '\n';
    return CliContext::kFailure;
  }
  if (json) {
    out << Dump({{"file", file},
                 {"output", output},
                 {"covered", {{"left", area.left}, {"top", area.top}, {"right", area.right}, {"bottom", area.bottom}}}})
        << '\n';
  } else {
    out << "covered: " << area.left << "," << area.top << " to " << area.right << "," << area.bottom << " ("
        << area.Width() << "x" << area.Height() << ")\n";
  }
  return CliContext::kOk;
}

int ImageCommands::Thumbnail(const std::string& file, const std::string& output, bool json, std::ostream& out,
                             std::ostream& err) {
  std::unique_ptr<platform::File> f;
  if (uint32_t rc = OpenInput(file, f); rc != 0) return OpenFailure(file, rc, err);
  std::vector<uint8_t> bytes;
  if (int32_t rc = image::MakeEntryThumbnail(*f, bytes); rc != 0) return Failure(file, rc, json, out, err);
  std::ofstream o(output, std::ios::binary | std::ios::trunc);
  o.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  o.close();
  if (!o) {
    err << "Tessary: cannot write " << output << '\n';
    return CliContext::kFailure;
  }
  if (json) {
    out << Dump({{"file", file}, {"output", output}, {"bytes", bytes.size()}}) << '\n';
  } else {
    out << "thumbnail: " << bytes.size() << " bytes\n";
  }
  return CliContext::kOk;
}

void ImageCommands::Register(CLI::App& app, CliContext& ctx) {
  struct Args {
    std::string file;
    std::string output;
    std::string target;
    DecodeOptions decode;
  };
  auto args = std::make_shared<Args>();
  CLI::App* image = app.add_subcommand("image", "Read, decode and make thumbnails of JPEG files");
  image->require_subcommand(1);

  CLI::App* info = image->add_subcommand("info", "Show what a JPEG's headers say");
  info->add_option("FILE", args->file, "JPEG file (phone path \"\\...\" or a path of this computer)")->required();
  info->callback([&ctx, args] { ctx.run = [&ctx, args] { return Info(args->file, ctx.json, std::cout, std::cerr); }; });
  // Image tools never touch the account or a blog.
  image->callback([&ctx] { ctx.changesFiles = false; });

  CLI::App* decode = image->add_subcommand("decode", "Draw a JPEG into a target as the program would");
  decode->add_option("FILE", args->file, "JPEG file")->required();
  decode->add_option("--target", args->target, "Target size WxH")->required();
  decode->add_flag("--fill", args->decode.fill, "Cover the target and crop");
  decode->add_flag("--natural", args->decode.natural, "Draw at the picture's own size");
  decode->add_flag("--top", args->decode.top, "Keep the picture at the target's top edge");
  decode->add_option("--scale", args->decode.scale, "Decode the main picture at 1/N without scaling")
      ->check(CLI::IsMember({1, 2, 4, 8}));
  decode->add_option("-o,--output", args->output, "Output file (.png, or .ppm)")->required();
  decode->callback([&ctx, args] {
    ctx.run = [&ctx, args] {
      if (!ParseSize(args->target, args->decode.width, args->decode.height)) {
        std::cerr << "Tessary: --target wants WxH with sides 1 to 65535, not \"" << args->target << "\"\n";
        return CliContext::kUsage;
      }
      return Decode(args->file, args->decode, args->output, ctx.json, std::cout, std::cerr);
    };
  });

  CLI::App* thumb = image->add_subcommand("thumbnail", "Make the 96 x 96 entry thumbnail of a photo");
  thumb->add_option("FILE", args->file, "JPEG photo")->required();
  thumb->add_option("-o,--output", args->output, "Output JPEG file")->required();
  thumb->callback([&ctx, args] {
    ctx.run = [&ctx, args] { return Thumbnail(args->file, args->output, ctx.json, std::cout, std::cerr); };
  });
}

}  // namespace cli
