#pragma once
// Raising the process's and the thread's scheduling priority around time-critical work,
// in place of SetPriorityClass/SetThreadPriority. On Linux it is best effort and never
// real-time: without the right to raise it, the priority stays as it was.
//
//   { PriorityGuard raised(priority, PriorityLevel::kHigh); ...grab... }  // restored
#include <string>
#include <vector>

namespace orvale {

enum class PriorityLevel { kHigh, kRealtime };

class PriorityService {
 public:
  virtual ~PriorityService() = default;
  // Saves the current priority and raises it; raises nest, each undone by one Restore.
  virtual void Raise(PriorityLevel level) = 0;
  virtual void Restore() = 0;
};

// The calling thread's nice value, lowered by a few steps while raised.
class ThreadPriority final : public PriorityService {
 public:
  void Raise(PriorityLevel level) override;
  void Restore() override;

 private:
  std::vector<int> saved_;
};

// Records raises and restores for tests.
class RecordingPriority final : public PriorityService {
 public:
  void Raise(PriorityLevel level) override;
  void Restore() override;
  int Depth() const { return depth_; }
  int Raises() const { return raises_; }
  const std::vector<std::string>& Log() const { return log_; }

 private:
  int depth_ = 0;
  int raises_ = 0;
  std::vector<std::string> log_;
};

class PriorityGuard {
 public:
  PriorityGuard(PriorityService& service, PriorityLevel level) : service_(service) { service_.Raise(level); }
  ~PriorityGuard() { service_.Restore(); }
  PriorityGuard(const PriorityGuard&) = delete;
  PriorityGuard& operator=(const PriorityGuard&) = delete;

 private:
  PriorityService& service_;
};

}  // namespace orvale
