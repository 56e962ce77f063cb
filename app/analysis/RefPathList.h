#pragma once
// The texts behind the entries of the reference-Zernike list of the analysis options:
// entry k holds what entry k of the list stands for (a reference file's path or a fixed
// word). Entry 0 always exists and holds "none".
#include <cstdint>
#include <string>
#include <vector>

namespace orvale {

class clsRefPath {
 public:
  clsRefPath();

  // Replaces entry i for 1 <= i <= count; otherwise nothing.
  void SetItem(std::int32_t i, const std::string& item);
  // Removes entry i for 1 <= i <= count, moving the later ones down; otherwise nothing.
  void RemoveItem(std::int32_t i);
  // Entry i for 0 <= i <= count, otherwise the empty text.
  std::string GetItem(std::int32_t i) const;
  // Appends an entry after the last one.
  void AddItem(const std::string& item);

 private:
  bool IsReplaceable(std::int32_t i) const;
  std::vector<std::string> items_;
};

}  // namespace orvale
