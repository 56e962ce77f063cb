// orvale_regsvr: registers the classes of plug-in libraries in the class registry, so
// that the program can create them by ProgID ("-u" unregisters them).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/com/PluginLibrary.h"

int main(int argc, char** argv) {
  bool unregister = false;
  int files = 0;
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-u") == 0) {
      unregister = true;
      continue;
    }
    ++files;
    std::error_code ec;
    const std::filesystem::path library = std::filesystem::absolute(argv[i], ec);
    std::string error;
    const bool done = !ec && (unregister ? orvale::UnregisterServer(library, error)
                                         : orvale::RegisterServer(library, error));
    if (!done) {
      std::fprintf(stderr, "orvale_regsvr: %s\n", error.empty() ? argv[i] : error.c_str());
      ++failures;
    }
  }
  if (files == 0) {
    std::fprintf(stderr, "usage: orvale_regsvr [-u] plugin.so...\n");
    return 2;
  }
  return failures == 0 ? 0 : 1;
}
