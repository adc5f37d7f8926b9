#pragma once
#include <cstddef>
#include <string>

// The peers the reader is compared with, each parsing UTF-8 bytes and returning a
// count of what it saw so that the work cannot be skipped.
size_t ParseWithLibxml2Sax(const std::string& bytes);
size_t ParseWithGumbo(const std::string& bytes);

class CMyhtmlParser {
public:
  CMyhtmlParser();
  ~CMyhtmlParser();
  CMyhtmlParser(const CMyhtmlParser&) = delete;
  CMyhtmlParser& operator=(const CMyhtmlParser&) = delete;
  size_t Parse(const std::string& bytes);

private:
  struct SState;
  SState* m_state;
};
