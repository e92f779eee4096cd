#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small stand-in for the phone's registry: typed named values under key paths
// of two hives, kept in one file per hive under the device root. Every change is
// written at once, atomically (temporary file, fsync, rename). A corrupt file reads
// as empty and is kept aside under another name.
namespace platform {

enum class Hive { CurrentUser, LocalMachine };

enum RegistryType : uint32_t {
  kRegNone = 0,
  kRegString = 1,  // UTF-16 text with its terminating zero
  kRegBinary = 3,
  kRegNumber = 4,  // 32-bit little-endian number
};

class RegistryKey;

// Handles as the design uses them: an opened key, or null.
using RegistryHandle = RegistryKey*;

// Create-or-open / open / close a key; set and query a value. Answer platform codes
// (2 when a key or value is absent, 234 when the buffer is too small).
uint32_t RegCreateKey(Hive hive, const std::string& path, RegistryHandle& out);
uint32_t RegOpenKey(Hive hive, const std::string& path, RegistryHandle& out);
uint32_t RegCloseKey(RegistryHandle key);
uint32_t RegSetValue(RegistryHandle key, const std::string& name, uint32_t type,
                     const void* data, uint32_t byteLength);
// `inOutLength` holds the buffer size on entry and the value's size on return;
// a null buffer asks for the size only.
uint32_t RegQueryValue(RegistryHandle key, const std::string& name, uint32_t& type,
                       void* buffer, uint32_t& inOutLength);
uint32_t RegDeleteValue(RegistryHandle key, const std::string& name);
// Names of the values of a key, in stored order.
uint32_t RegListValues(RegistryHandle key, std::vector<std::string>& names);

// Forgets the loaded hives so that the next access reads the files again
// (a new device root, or tests).
void RegistryReset();

}  // namespace platform
