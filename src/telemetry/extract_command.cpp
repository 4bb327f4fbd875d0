#include "telemetry/extract_command.h"

#include "platform/socket_server.h"

namespace korvane {

std::vector<std::string> BuildExtractorArguments(const std::string& inputPath,
                                                 const std::string& extraArguments,
                                                 const std::string& socketPath) {
  std::vector<std::string> args{"-i", "file:" + inputPath};
  std::size_t start = 0;
  while (start <= extraArguments.size()) {
    std::size_t end = extraArguments.find(' ', start);
    if (end == std::string::npos) end = extraArguments.size();
    if (end > start) args.push_back(extraArguments.substr(start, end - start));
    start = end + 1;
  }
  args.push_back("unix:" + socketPath);
  return args;
}

std::string DefaultExtractorSocketPath() {
  return RuntimeFolder() + "/" + kExtractorSocketName;
}

}  // namespace korvane
