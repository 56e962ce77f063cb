#include "app/CommandLine.h"

namespace orvale {

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    line += argument;
  }
  CommandLine parsed;
  if (line == "-Embedding") {
    parsed.Embedding = true;
    return parsed;
  }
  if (!line.empty() && line.front() == '"') {
    line.erase(0, 1);
    const std::size_t quote = line.find('"');
    if (quote != std::string::npos) line.erase(quote);
  }
  parsed.Path = line;
  return parsed;
}

}  // namespace orvale
