// GDI+ for the life of the program: started once, shut down when the session ends.
#pragma once

#include <cstdint>

namespace kivo::win {

class GdiplusSession {
 public:
  GdiplusSession() = default;
  ~GdiplusSession() { Stop(); }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  // False when GDI+ could not start; nothing can be drawn then.
  [[nodiscard]] bool Start();
  // Shuts GDI+ down when a token was obtained; harmless otherwise.
  void Stop();
  bool running() const { return token_ != 0; }

 private:
  std::uintptr_t token_ = 0;
};

}  // namespace kivo::win
