// A stand-in for the older external camera program, for the tests of its route.
// Started in the device root, it listens on "IACW_AGENT" there, takes one
// hand-over, answers as FAKE_CAMERA_MODE says and waits for the close request:
//   photo    copies FAKE_CAMERA_PHOTO into the folder asked for and answers with its path
//   cancel   answers that nothing was taken
//   wrong-id first sends a message of another identifier naming a photo, then "cancel"
//   absent   ends at once without ever listening
// The hand-over block goes to FAKE_CAMERA_RECORD.handover, the close request's
// header to FAKE_CAMERA_RECORD.close.
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/DeviceFileSystem.h"
#include "platform/TextConversion.h"

namespace {

constexpr int kPatienceMs = 10000;

std::string Env(const char* name, const char* fallback = "") {
  const char* value = std::getenv(name);
  return value ? value : fallback;
}

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

bool ReadAll(int fd, uint8_t* data, size_t length) {
  while (length > 0) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, kPatienceMs) <= 0) return false;
    const ssize_t n = ::read(fd, data, length);
    if (n <= 0) return false;
    data += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

// Reads one message; false at the end of the connection.
bool ReadMessage(int fd, uint32_t& id, std::vector<uint8_t>& block) {
  uint8_t header[8];
  if (!ReadAll(fd, header, sizeof(header))) return false;
  id = GetU32(header);
  block.resize(GetU32(header + 4));
  return block.size() < 65536 && ReadAll(fd, block.data(), block.size());
}

void Send(int fd, uint32_t id, const std::vector<uint8_t>& block) {
  std::vector<uint8_t> message(8 + block.size());
  PutU32(message, 0, id);
  PutU32(message, 4, static_cast<uint32_t>(block.size()));
  std::memcpy(message.data() + 8, block.data(), block.size());
  (void)!::write(fd, message.data(), message.size());
}

std::vector<uint8_t> Answer(uint32_t status, const std::string& path) {
  const std::u16string wide = platform::Utf8ToUtf16(path);
  std::vector<uint8_t> block(552 + 2 * (wide.size() + 1), 0);
  PutU32(block, 0, static_cast<uint32_t>(block.size()));
  PutU32(block, 4, status);
  for (size_t i = 0; i < wide.size(); ++i) {
    block[552 + 2 * i] = static_cast<uint8_t>(wide[i]);
    block[552 + 2 * i + 1] = static_cast<uint8_t>(wide[i] >> 8);
  }
  return block;
}

std::string FolderOf(const std::vector<uint8_t>& block) {
  std::u16string folder;
  for (size_t at = 32; at + 1 < 552 && (block[at] | block[at + 1]) != 0; at += 2) {
    folder.push_back(static_cast<char16_t>(block[at] | block[at + 1] << 8));
  }
  return platform::Utf16ToUtf8(folder);
}

}  // namespace

int main() {
  const std::string mode = Env("FAKE_CAMERA_MODE", "photo");
  const std::string record = Env("FAKE_CAMERA_RECORD");
  if (mode == "absent") return 0;
  char cwd[4096];
  if (!::getcwd(cwd, sizeof(cwd))) return 1;
  platform::DeviceFileSystem fs(cwd);

  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, "IACW_AGENT");
  ::unlink(address.sun_path);
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(listener, 4) != 0) {
    return 1;
  }
  pollfd waiting{listener, POLLIN, 0};
  const int fd = ::poll(&waiting, 1, kPatienceMs) == 1 ? ::accept(listener, nullptr, nullptr) : -1;
  uint32_t id = 0;
  std::vector<uint8_t> block;
  while (fd >= 0 && ReadMessage(fd, id, block) && id != 47003) {
  }
  if (fd >= 0 && id == 47003) {
    std::ofstream(record + ".handover", std::ios::binary)
        .write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
    const std::string folder = FolderOf(block);
    const std::string photo = platform::JoinPhonePath(folder, "FAKE_0001.jpg");
    fs.CreateFolders(folder);
    std::filesystem::path host;
    if (fs.ToHostPath(photo, host) == 0) {
      std::filesystem::copy_file(Env("FAKE_CAMERA_PHOTO"), host, std::filesystem::copy_options::overwrite_existing);
    }
    if (mode == "wrong-id") Send(fd, 48003, Answer(0, photo));
    Send(fd, 48002, mode == "photo" ? Answer(0, photo) : Answer(1, ""));
    while (ReadMessage(fd, id, block)) {
      if (id != 16) continue;
      uint8_t header[8] = {16, 0, 0, 0, 0, 0, 0, 0};
      header[4] = static_cast<uint8_t>(block.size());
      std::ofstream(record + ".close", std::ios::binary).write(reinterpret_cast<const char*>(header), sizeof(header));
      break;
    }
  }
  if (fd >= 0) ::close(fd);
  ::close(listener);
  ::unlink("IACW_AGENT");
  return 0;
}
