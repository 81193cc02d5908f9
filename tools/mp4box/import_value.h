// The parts of an -add, -cat or -chap value: the file, then "#" and a track selector, then
// ":" options (a drive's colon is the file's).
#pragma once

#include <string>

namespace standin {

inline std::string ImportFileAndSelector(const std::string& value) {
  size_t from = value.size() > 2 && value[1] == ':' ? 2 : 0;
  return value.substr(0, value.find(':', from));
}

inline std::string SourceFile(const std::string& value) {
  std::string file = ImportFileAndSelector(value);
  return file.substr(0, file.find('#'));
}

inline std::string Selector(const std::string& value) {
  std::string file = ImportFileAndSelector(value);
  size_t hash = file.find('#');
  return hash == std::string::npos ? std::string() : file.substr(hash + 1);
}

}  // namespace standin
