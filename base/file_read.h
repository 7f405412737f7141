#pragma once
// Reading a whole file of bounded size.
#include <string>

namespace pq {

// The whole content of a regular file of at most `maxBytes`, NUL bytes
// included. Anything but FileRead::Read leaves the reason in `why`: the path
// names no regular file (a FIFO or a device is refused without waiting on
// it), the file is larger, or it cannot be opened or read.
enum class FileRead { Read, NotRegular, TooLarge, Failed };
FileRead ReadRegularFile(const std::string& path, long long maxBytes, std::string& bytes, std::string& why);

}  // namespace pq
