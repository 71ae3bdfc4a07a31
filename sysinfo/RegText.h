// The byte and text rules of the registry readers, kept apart from the Windows calls so the host
// build tests them: how a key path is passed on, how stored string data becomes text, and how a
// binary value is read as a path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

// Callers may write a key path with one leading backslash ("\Software\..."); the registry itself
// rejects that form, so it is dropped. Everything else is passed on as given.
std::string RegKeyPathArgument(std::string_view keyPath);

// String data as stored, taken up to its first NUL. Data without a terminating NUL ends at its
// size.
std::string RegStringData(const unsigned char* data, std::size_t size);

// RegStringData, with leading and trailing blanks and control characters removed.
std::string RegTrimmedStringData(const unsigned char* data, std::size_t size);

// Binary data read as a path: bytes below 32 are dropped, the rest kept as characters; the text
// then starts one character before its first ":\" (the drive letter), and is empty without one.
std::string RegBinaryDataToPath(const unsigned char* data, std::size_t size);

}  // namespace orv
