#pragma once
#include <string>
#include <vector>

// The HTML files of one benchmark corpus, as bytes (UTF-8) and as UTF-16.
struct SHtmlCorpus {
  std::string name;
  std::vector<std::string> utf8;
  std::vector<std::u16string> utf16;
  size_t chars = 0;  // UTF-16 code units over all files
  size_t bytes = 0;
};

// Every *.htm and *.html file under folder; empty when the folder is missing.
SHtmlCorpus LoadHtmlCorpus(const std::string& name, const std::string& folder);
