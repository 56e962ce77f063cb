#pragma once
// The per-user folder of the program's settings, private profile files and class
// registry: $XDG_CONFIG_HOME/Halvern, with ~/.config when XDG_CONFIG_HOME is not set to
// an absolute path. Read from the environment on every call.
#include <filesystem>

namespace orvale {

std::filesystem::path HalvernConfigFolder();

}  // namespace orvale
