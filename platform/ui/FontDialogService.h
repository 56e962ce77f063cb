#pragma once
// The program's font dialog: a face, a size, bold, italic, underline and a colour. The
// program installs one that shows the Qt font chooser; tests and automation install
// scripted answers, so that nothing blocks a test.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace orvale {

// Option bits the callers set, as the classic font dialog knew them; kept with the
// request so that a caller's choice of fonts can be checked.
namespace cf {
inline constexpr std::uint32_t kScreenFonts = 0x1;
inline constexpr std::uint32_t kPrinterFonts = 0x2;
inline constexpr std::uint32_t kEffects = 0x100;
inline constexpr std::uint32_t kAnsiOnly = 0x400;
inline constexpr std::uint32_t kForceFontExist = 0x10000;
}  // namespace cf

// A text style as the dialog shows and returns it.
struct FontChoice {
  std::string FaceName;  // without padding blanks
  std::int32_t Size = 10;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  std::int32_t Color = 0;  // 0x00BBGGRR
  bool operator==(const FontChoice&) const = default;
};

struct FontDialogRequest {
  std::string Title;
  std::uint32_t Flags = 0;
  FontChoice Initial;
};

struct FontDialogAnswer {
  bool Cancelled = true;
  FontChoice Choice;
};

class FontDialogService {
 public:
  virtual ~FontDialogService() = default;
  virtual FontDialogAnswer ChooseFont(const FontDialogRequest& request) = 0;
};

// Installs `service` for the whole program (nullptr restores the default, which
// cancels every dialog). The caller keeps ownership.
void SetFontDialogService(FontDialogService* service);
FontDialogService& CurrentFontDialogService();

// Scripted answers: each dialog takes the next queued answer, or is cancelled when the
// queue is empty; every request is recorded.
class ScriptedFontDialogService final : public FontDialogService {
 public:
  void QueueChoice(const FontChoice& choice) { answers_.push_back({false, choice}); }
  void QueueCancel() { answers_.push_back({}); }
  FontDialogAnswer ChooseFont(const FontDialogRequest& request) override;
  const std::vector<FontDialogRequest>& Requests() const { return requests_; }

 private:
  std::deque<FontDialogAnswer> answers_;
  std::vector<FontDialogRequest> requests_;
};

// Installs a service for the lifetime of a scope and restores the previous one.
class ScopedFontDialogService {
 public:
  explicit ScopedFontDialogService(FontDialogService& service);
  ~ScopedFontDialogService();
  ScopedFontDialogService(const ScopedFontDialogService&) = delete;
  ScopedFontDialogService& operator=(const ScopedFontDialogService&) = delete;

 private:
  FontDialogService* previous_;
};

}  // namespace orvale
