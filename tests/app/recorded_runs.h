// The runs the stand-in tools beside the test program recorded in their log: a line a run,
// the arguments tab-separated, with tabs, line ends and '%' written as "%xx".
#pragma once

#include <string>
#include <vector>

using TArgv = std::vector<std::string>;

// The argument vectors in the log's text, one per run; a last line without its end is a run
// still being written and is left out.
inline std::vector<TArgv> RecordedRuns(const std::string& LogText) {
  std::vector<TArgv> runs;
  TArgv argv(1);
  for (size_t i = 0; i < LogText.size(); ++i) {
    char c = LogText[i];
    if (c == '\r') continue;
    if (c == '\n') {
      runs.push_back(argv);
      argv.assign(1, std::string());
    } else if (c == '\t') {
      argv.emplace_back();
    } else if (c == '%' && i + 2 < LogText.size()) {
      argv.back() += static_cast<char>(std::stoi(LogText.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      argv.back() += c;
    }
  }
  return runs;
}
