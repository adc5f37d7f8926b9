#pragma once
#include <cstdint>
#include <string>

// The one place where the HTML reader meets the operating system: the text of an
// open file, read into memory from its start. A file that another process cuts
// short meanwhile gives the bytes it still holds; a mapping would fault instead.
namespace OpenFileText {

// Size of the open file in bytes; false when the platform cannot tell.
bool GetSize(int fileDescriptor, uint64_t& size);
// Up to size bytes from offset into buffer; the count read, or -1 on an error.
int64_t ReadAt(int fileDescriptor, uint64_t offset, void* buffer, size_t size);

}  // namespace OpenFileText
