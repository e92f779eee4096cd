#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/CObject.h"
#include "model/CWinBlogEntry.h"
#include "tests/support/TempDeviceRoot.h"

namespace modeltest {

// The bytes `obj` writes through an archive.
std::vector<uint8_t> ArchiveBytes(model::CObject& obj);
// Reads `bytes` into `obj`; answers the archive's error (0 when all was read).
uint32_t ReadArchive(model::CObject& obj, const std::vector<uint8_t>& bytes);

std::unique_ptr<model::CWinBlogEntry> MakeEntry(uint32_t id, uint32_t date,
                                                const std::string& title = "");

// Writes a real JPEG of width x height at the phone path.
void WriteJpeg(testsupport::TempDeviceRoot& root, const std::string& phonePath, uint32_t width,
               uint32_t height);
// Writes `text` into a file at the phone path.
void WriteFile(testsupport::TempDeviceRoot& root, const std::string& phonePath,
               const std::string& text);
std::vector<uint8_t> ReadHostFile(const std::filesystem::path& path);
// Makes a storage card "\<name>" (a link to a folder) and answers its phone path.
std::string MakeCard(testsupport::TempDeviceRoot& root, const std::string& name);

// Little-endian byte helpers for expected archive bytes.
void PutU16(std::vector<uint8_t>& out, uint16_t v);
void PutU32(std::vector<uint8_t>& out, uint32_t v);
void PutString(std::vector<uint8_t>& out, const std::string& s);

}  // namespace modeltest
